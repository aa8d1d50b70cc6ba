#include "editor/editor_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>

#include "editor/cel_view.h"
#include "editor/companion_window.h"
#include "editor/image_library.h"
#include "editor/window_destroyed.h"
#include "generator/window/generate_window.h"
#include "recovery/recovery.h"

TForm1::TForm1(const Strips& strips, UserPrompts& prompts, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      prompts_(prompts),
      stripAtStart_(strips.palette),
      palette_(strips.palette),
      colourStrip_(strips.colourStrip),
      zoom_(strips.Zoom()),
      imageLibrary_(&TheImageLibrary()) {
    SetTempBitmapDir(TempBitmapDir(QCoreApplication::applicationDirPath()));
    setFocusPolicy(Qt::StrongFocus);
    auto* view = new CelView(image_, this);
    connect(view, &CelView::pressed, this, &TForm1::imgMainMouseDown);
    connect(view, &CelView::moved, this, &TForm1::imgMainMouseMove);
    connect(view, &CelView::released, this, &TForm1::imgMainMouseUp);
    imgMain_ = view;
    imgMain_->move(0, 0);
    InitView(true);
    Apply(doc_.ClearModified());
    destroyedWatch_ = std::make_unique<WindowDestroyedWatch>(*this, [this] { WindowDestroyed(); });
}

TForm1::~TForm1() {
    if (recovery_ != nullptr) recovery_->OnProblem({});  // the copy may outlive the window
}

void TForm1::WindowDestroyed() {
    if (close()) return;
    // "Save?" answered Cancel: the editor goes on, in a new window.
    destroy();
    create();
    show();
    activateWindow();
}

void TForm1::UpdateTitle() {
    setWindowTitle(QFile::decodeName(TitleText(doc_).c_str()));
    FollowInCompanion();
}

void TForm1::FollowInCompanion() {
    if (companion_ == nullptr || !companion_->isVisible()) return;
    companion_->ShowView(zoom_, onionSkin_, Chip(), TableOptions());
    companion_->Follow();
}

void TForm1::ToggleCompanion() {
    if (companion_ == nullptr) {
        companion_ = new CompanionWindow(*this, doc_, colourStrip_);
        connect(companion_, &CompanionWindow::colourChosen, this, &TForm1::ChooseColour);
    }
    if (companion_->isVisible()) {
        companion_->HideAndReturn();
    } else {
        companion_->ShowView(zoom_, onionSkin_, Chip(), TableOptions());
        companion_->ShowBeside();
    }
}

void TForm1::SetGenerateWindow(TfrmExport* window) {
    if (frmExport_ != nullptr) disconnect(frmExport_, nullptr, this, nullptr);
    frmExport_ = window;
    if (frmExport_ == nullptr) return;
    connect(frmExport_, &TfrmExport::optionsChanged, this, [this] {
        if (chipView_) Redraw();
    });
}

GeneratorOptions TForm1::TableOptions() const {
    return frmExport_ != nullptr ? frmExport_->Options() : GeneratorOptions{};
}

void TForm1::ChooseColour(std::uint8_t colour) {
    doc_.ChooseColour(colour);
    FollowInCompanion();
}

void TForm1::MarkModified() {
    Apply(doc_.MarkModified());
}

void TForm1::Apply(Refresh refresh) {
    if (refresh & kRefreshView) Redraw();
    if (refresh & kRefreshTitle) UpdateTitle();
    NoteChange();
}

void TForm1::NoteChange() {
    if (recovery_ != nullptr) recovery_->Update(doc_);
}

// Each operation changes the document, then shows what it asks to be refreshed.
// clang-format off
void TForm1::SetPixel(int x, int y, std::uint8_t colour) { Apply(doc_.SetPixel(x, y, colour)); }
void TForm1::Undo() { Apply(doc_.Undo()); }
void TForm1::PasteCel() { Apply(doc_.PasteCel()); }
void TForm1::PreviousCel() { Apply(doc_.PreviousCel()); }
void TForm1::NextCel() { Apply(doc_.NextCel()); }
void TForm1::AddCel() { Apply(doc_.AddCel()); }
void TForm1::DeleteCel() { Apply(doc_.DeleteCel()); }
void TForm1::EraseCel() { Apply(doc_.EraseCel()); }
void TForm1::FloodFill(int x, int y, std::uint8_t colour) { Apply(doc_.FloodFill(x, y, colour)); }
void TForm1::ScrollUp() { Apply(doc_.ScrollUp()); }
void TForm1::ScrollRight() { Apply(doc_.ScrollRight()); }
void TForm1::ScrollDown() { Apply(doc_.ScrollDown()); }
void TForm1::ScrollLeft() { Apply(doc_.ScrollLeft()); }
void TForm1::MirrorHorizontal() { Apply(doc_.MirrorHorizontal()); }
void TForm1::MirrorVertical() { Apply(doc_.MirrorVertical()); }
void TForm1::Rotate() { Apply(doc_.Rotate()); }
// clang-format on

void TForm1::CopyCel() {
    setWindowTitle(QString::fromStdString(CopyText(doc_)));
    Apply(doc_.CopyCel());
}

PromptAnswer TForm1::Ask(const QString& text, const QString& caption, PromptButtons buttons,
                         PromptIcon icon) {
    const PromptAnswer answer = prompts_.Ask(text, caption, buttons, icon);
    activateWindow();
    return answer;
}

void TForm1::PlainErrorBox() {
    Ask(QStringLiteral("Error"), QStringLiteral("Error"), PromptButtons::kOk, PromptIcon::kError);
}

void TForm1::ErrorBox(std::string_view message) {
    ShowErrorBox(prompts_, windowTitle(), message);
    activateWindow();
}

// --- window events -------------------------------------------------------------------------------

void TForm1::closeEvent(QCloseEvent* event) {
    if (FormClose()) {
        if (recovery_ != nullptr) recovery_->Discard();
        event->accept();
        emit Closed();
    } else {
        event->ignore();
    }
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    activateWindow();
}
