// Program start: the command line, then the editor window, the New dialog and the Generate window,
// in that order; only the editor is shown, with the file named on the command line, and then asks
// about recovery copies left behind. The run ends when the editor window closes.

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <QGuiApplication>
#include <QTimer>

#include "editor/command_line.h"
#include "editor/editor_window.h"
#include "editor/guarded_application.h"
#include "editor/new_dialog.h"
#include "editor/qt_prompts.h"
#include "generator/window/generate_window.h"
#include "recovery/recovery.h"

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
    const std::vector<std::string> args(argv + std::min(argc, 1), argv + argc);
    const EditorCommandLine line = ParseEditorCommandLine(args);
    switch (line.action) {
        case EditorCommandLine::Action::kUsageError:
            std::fprintf(stderr, "%s\n", line.message.c_str());
            return 2;
        case EditorCommandLine::Action::kHelp:
            std::fputs(EditorHelpText().c_str(), stdout);
            return std::fflush(stdout) == 0 ? 0 : 1;
        case EditorCommandLine::Action::kVersion:
            std::fputs(EditorVersionText().c_str(), stdout);
            return std::fflush(stdout) == 0 ? 0 : 1;
        case EditorCommandLine::Action::kRun:
            break;
    }
    if (!HasDisplay()) {
        std::fprintf(stderr,
                     "spritehex: no display found (DISPLAY and WAYLAND_DISPLAY are not set); the "
                     "editor needs a desktop. Without one, use %s.\n",
                     CliPath().c_str());
        return 1;
    }
    // Qt sees no argument: a file name is never taken for one of its options.
    int qtArgc = 1;
    GuardedApplication app(qtArgc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("spritehex"));
    // Wayland's name of the window's program: the desktop entry's, so the desktop shows its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(SPRITEHEX_APP_ID));
    QtUserPrompts prompts;
    RecoveryCopy recovery(RecoveryFolder());  // outlives the window that reports to it
    recovery.WriteOnSignalsAndExit();
    const Result<Strips> strips = LoadStrips(QCoreApplication::applicationDirPath());
    if (!strips) {
        ShowErrorBox(prompts, QCoreApplication::applicationName(), strips.message());
        return 1;
    }
    auto form = std::make_unique<TForm1>(*strips, prompts);
    TfrmNew frmNew;
    TfrmExport frmExport;
    prompts.SetNewDialog(&frmNew);
    form->SetGenerateWindow(&frmExport);
    prompts.SetParent(form.get());
    app.SetReporter([&](const QString& message) {
        ShowErrorBox(prompts, form->windowTitle(), message);
        form->activateWindow();
    });
    // The Generate window may still be open when the editor closes; the program ends all the same.
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(form.get(), &TForm1::Closed, &app, &QApplication::quit, Qt::QueuedConnection);
    form->SetRecovery(&recovery);
    if (!line.path.empty()) form->OpenFromCommandLine(line.path);
    form->show();
    QTimer::singleShot(0, form.get(), &TForm1::OfferRecovery);
    QApplication::exec();
    return 0;
}
