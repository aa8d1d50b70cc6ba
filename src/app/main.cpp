// Program start: the editor window, the New dialog and the Generate window, in that order; only
// the editor is shown. The run ends when the editor window closes.

#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>

#include "editor/editor_window.h"
#include "editor/guarded_application.h"
#include "editor/new_dialog.h"
#include "editor/qt_prompts.h"
#include "generator/window/generate_window.h"

namespace {

bool HasDisplay() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

// spritehex-cli lies beside the editor, in the build tree as in an installed copy.
std::string CliPath() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string("spritehex-cli") : (self.parent_path() / "spritehex-cli").string();
}

}  // namespace

int main(int argc, char** argv) {
    if (!HasDisplay()) {
        std::fprintf(stderr,
                     "spritehex: no display found (DISPLAY and WAYLAND_DISPLAY are not set); the "
                     "editor needs a desktop. Without one, use %s.\n",
                     CliPath().c_str());
        return 1;
    }
    GuardedApplication app(argc, argv);
    QtUserPrompts prompts;
    std::unique_ptr<TForm1> form;
    try {
        form = std::make_unique<TForm1>(QCoreApplication::applicationDirPath(), prompts);
    } catch (const std::exception& e) {
        ShowErrorBox(prompts, QCoreApplication::applicationName(), QString::fromUtf8(e.what()));
        return 1;
    }
    TfrmNew frmNew;
    TfrmExport frmExport;
    form->SetNewDialog(&frmNew);
    form->SetGenerateWindow(&frmExport);
    prompts.SetParent(form.get());
    app.SetReporter([&](const QString& message) {
        ShowErrorBox(prompts, form->windowTitle(), message);
        form->activateWindow();
    });
    // The Generate window may still be open when the editor closes; the program ends all the same.
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(form.get(), &TForm1::Closed, &app, &QApplication::quit, Qt::QueuedConnection);
    form->show();
    QApplication::exec();
    return 0;
}
