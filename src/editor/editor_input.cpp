// The editor's keys and mouse: each key press is translated to its virtual key code and decided by
// the key tables (keys/editor_keys.h); each mouse event on imgMain becomes a cursor move and a
// pixel.

#include <QKeyEvent>

#include "document/sprite_file.h"
#include "editor/editor_window.h"
#include "editor/key_help_window.h"
#include "generator/window/generate_window.h"
#include "keys/editor_keys.h"
#include "keys/key_codes.h"
#include "keys/qt_key_event.h"

void TForm1::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers m = event->modifiers();
    FormKeyDown(VirtualKeyOf(*event), m.testFlag(Qt::ShiftModifier),
                m.testFlag(Qt::ControlModifier), m.testFlag(Qt::AltModifier));
}

// The key's command comes from the editor's key tables; each group of commands has its own
// short function.
void TForm1::FormKeyDown(int key, bool shift, bool ctrl, bool alt) {
    const KeyBinding* binding = FindKeyBinding(key, shift, ctrl, alt);
    if (binding == nullptr) return;
    const KeyCommand press{binding->command, key, shift};
    switch (GroupOf(binding->command)) {
        case CommandGroup::kDrawing:
            RunDrawing(press);
            break;
        case CommandGroup::kCursor:
            RunCursor(press);
            break;
        case CommandGroup::kCels:
            RunCels(press);
            break;
        case CommandGroup::kTransforms:
            RunTransform(press);
            break;
        case CommandGroup::kFiles:
            RunFiles(press);
            break;
        case CommandGroup::kWindow:
            RunWindow(press);
            break;
        case CommandGroup::kView:
            RunView(press);
            break;
        case CommandGroup::kGenerate:
            if (frmExport_ != nullptr) {
                const DocumentNames& names = doc_.Names();
                frmExport_->SetDocumentName(
                    names.name, names.savePath.empty() ? "" : FileNameOfPath(names.savePath));
                frmExport_->SetData(doc_.Buffer());
                frmExport_->ShowWindow();
            }
            break;
    }
}

void TForm1::RunDrawing(const KeyCommand& press) {
    const int x = doc_.CursorX();
    const int y = doc_.CursorY();
    const auto colour = static_cast<std::uint8_t>(ColourOfKey(press.key));
    if (press.command == Command::kClearPixel) SetPixel(x, y, 0);
    if (press.command == Command::kSetColour) SetPixel(x, y, colour);
    if (press.command == Command::kFloodFill) FloodFill(x, y, colour);
    if (press.command == Command::kUndo) Undo();
}

// One pixel toward an edge, nothing at the edge. With Shift the colour that was under the cursor
// is drawn at the new place (which makes it the current colour).
void TForm1::RunCursor(const KeyCommand& press) {
    const Step step = StepOfArrow(press.key);
    const std::uint8_t colourBefore = GetPixel(doc_.CursorX(), doc_.CursorY());
    if (!doc_.MoveCursor(step.dx, step.dy)) return;
    if (press.shift) {
        SetPixel(doc_.CursorX(), doc_.CursorY(), colourBefore);  // redraws too
    } else {
        Redraw();
    }
}

void TForm1::RunCels(const KeyCommand& press) {
    switch (press.command) {
        case Command::kPreviousCel:
            PreviousCel();
            break;
        case Command::kNextCel:
            NextCel();
            break;
        case Command::kCopyCel:
            CopyCel();
            break;
        case Command::kPasteCel:
            PasteCel();
            break;
        case Command::kAddCel:
            AddCel();
            break;
        case Command::kDeleteCel:
            if (doc_.CelCount() != 1 &&
                Ask(QStringLiteral("Delete current cel?"), QStringLiteral("Prompt"),
                    PromptButtons::kOkCancel) == PromptAnswer::kOk) {
                DeleteCel();
            }
            break;
        case Command::kEraseCel:
            if (Ask(QStringLiteral("Erase current chr?"), QStringLiteral("Prompt"),
                    PromptButtons::kOkCancel) == PromptAnswer::kOk) {
                EraseCel();
            }
            break;
        default:
            break;
    }
}

void TForm1::RunTransform(const KeyCommand& press) {
    const Step step = StepOfArrow(press.key);
    if (press.command == Command::kScroll) {
        if (step.dx < 0) ScrollLeft();
        if (step.dx > 0) ScrollRight();
        if (step.dy < 0) ScrollUp();
        if (step.dy > 0) ScrollDown();
    }
    if (press.command == Command::kMirrorVertical) MirrorVertical();
    if (press.command == Command::kMirrorHorizontal) MirrorHorizontal();
    if (press.command == Command::kRotate) Rotate();
}

void TForm1::RunFiles(const KeyCommand& press) {
    if (press.command == Command::kNew) NewDocument();
    if (press.command == Command::kOpen) OpenDocument();
    if (press.command == Command::kSave) SaveDocument(false);
    if (press.command == Command::kSaveAs) SaveDocument(true);
    if (press.command == Command::kExportPng) ExportPng();
    if (press.command == Command::kImportPng) ImportPng();
}

void TForm1::RunWindow(const KeyCommand& press) {
    const Step step = StepOfArrow(press.key);
    if (press.command == Command::kClose) close();
    if (press.command == Command::kHelp) ShowKeyHelp(*this);
    if (press.command == Command::kMoveWindow) move(pos() + QPoint(step.dx * 8, step.dy * 8));
}

void TForm1::RunView(const KeyCommand& press) {
    if (press.command == Command::kCompanion) ToggleCompanion();
    if (press.command == Command::kOnionSkin) ToggleOnionSkin();
    if (press.command == Command::kZoomIn) ChangeZoom(1);
    if (press.command == Command::kZoomOut) ChangeZoom(-1);
}

void TForm1::imgMainMouseDown(Qt::MouseButton button, int x, int y) {
    if (button != Qt::LeftButton && button != Qt::RightButton) return;
    if (x < 0 || y < 0) return;
    const int column = x / zoom_;
    const int row = y / zoom_;
    if (column >= doc_.Width() || row >= doc_.Height()) return;
    doc_.SetCursor(column, row);
    SetPixel(column, row, button == Qt::LeftButton ? doc_.CurrentColour() : std::uint8_t{0});
}

void TForm1::imgMainMouseMove(Qt::MouseButtons buttons, int x, int y) {
    if (x < 0 || y < 0) return;
    const int column = x / zoom_;
    const int row = y / zoom_;
    if (column >= doc_.Width() || row >= doc_.Height()) return;
    if (QPoint(column, row) == lastMouseCell_) return;
    doc_.SetCursor(column, row);
    lastMouseCell_ = QPoint(column, row);
    // The pixels change first; one redraw at the end shows them and the frame's new place.
    const auto titleOnly = [](Refresh r) { return static_cast<Refresh>(r & kRefreshTitle); };
    if (buttons.testFlag(Qt::LeftButton)) {
        Apply(titleOnly(doc_.SetPixel(column, row, doc_.CurrentColour())));
    }
    if (buttons.testFlag(Qt::RightButton)) Apply(titleOnly(doc_.SetPixel(column, row, 0)));
    Redraw();
}
