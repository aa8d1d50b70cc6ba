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

// The key's command comes from the editor's key tables and runs here: one switch over every
// command, so the compiler names a command without a case.
void TForm1::FormKeyDown(int key, bool shift, bool ctrl, bool alt) {
    const KeyBinding* binding = FindKeyBinding(key, shift, ctrl, alt);
    // A run of Shift+arrow moves is one gesture; any other key ends it (a modifier alone, which
    // has no code, does not).
    const bool stroke = binding != nullptr && binding->command == Command::kMoveCursor && shift;
    EditHistory& history = doc_.History();
    if (!stroke && key != vk::kNone) history.CloseGesture();
    if (binding == nullptr) return;
    const int x = doc_.CursorX();
    const int y = doc_.CursorY();
    const auto colour = static_cast<std::uint8_t>(ColourOfKey(key));
    const Step step = StepOfArrow(key);
    // A command that may change the document is bracketed by the history, which keeps a step when
    // it did.
    const char* stepName = StepNameOf(binding->command, shift);
    if (stepName != nullptr) history.Begin(doc_);
    switch (binding->command) {
        case Command::kNothing:
            break;
        case Command::kClearPixel:
            SetPixel(x, y, 0);
            break;
        case Command::kSetColour:
            SetPixel(x, y, colour);
            break;
        case Command::kFloodFill:
            FloodFill(x, y, colour);
            break;
        case Command::kUndo:
            Undo();
            break;
        case Command::kUndoStep:
            Apply(doc_.UndoStep());
            break;
        case Command::kRedoStep:
            Apply(doc_.RedoStep());
            break;
        case Command::kMoveCursor:
            MoveCursor(step, shift);
            break;
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
        case Command::kScroll:
            if (step.dx < 0) ScrollLeft();
            if (step.dx > 0) ScrollRight();
            if (step.dy < 0) ScrollUp();
            if (step.dy > 0) ScrollDown();
            break;
        case Command::kMirrorVertical:
            MirrorVertical();
            break;
        case Command::kMirrorHorizontal:
            MirrorHorizontal();
            break;
        case Command::kRotate:
            Rotate();
            break;
        case Command::kNew:
            NewDocument();
            break;
        case Command::kOpen:
            OpenDocument();
            break;
        case Command::kSave:
            SaveDocument(false);
            break;
        case Command::kSaveAs:
            SaveDocument(true);
            break;
        case Command::kExportPng:
            ExportPng();
            break;
        case Command::kImportPng:
            ImportPng();
            break;
        case Command::kClose:
            close();
            break;
        case Command::kHelp:
            ShowKeyHelp(*this);
            break;
        case Command::kMoveWindow:
            move(pos() + QPoint(step.dx * 8, step.dy * 8));
            break;
        case Command::kCompanion:
            ToggleCompanion();
            break;
        case Command::kOnionSkin:
            ToggleOnionSkin();
            break;
        case Command::kChipView:
            ToggleChipView();
            break;
        case Command::kZoomIn:
            ChangeZoom(1);
            break;
        case Command::kZoomOut:
            ChangeZoom(-1);
            break;
        case Command::kGenerate:
            ShowGenerateWindow();
            break;
    }
    // Before the companion window paints the redraw's update, so its history line is current.
    if (stepName != nullptr) history.End(doc_, stepName, stroke ? Gesture::kKeys : Gesture::kNone);
}

void TForm1::ShowGenerateWindow() {
    if (frmExport_ == nullptr) return;
    const DocumentNames& names = doc_.Names();
    frmExport_->SetDocumentName(names.name,
                                names.savePath.empty() ? "" : FileNameOfPath(names.savePath));
    frmExport_->SetData(doc_.Buffer());
    frmExport_->ShowWindow();
}

// One pixel toward an edge, nothing at the edge. With Shift the colour that was under the cursor
// is drawn at the new place (which makes it the current colour).
void TForm1::MoveCursor(Step step, bool shift) {
    const std::uint8_t colourBefore = GetPixel(doc_.CursorX(), doc_.CursorY());
    if (!doc_.MoveCursor(step.dx, step.dy)) return;
    if (shift) {
        SetPixel(doc_.CursorX(), doc_.CursorY(), colourBefore);  // redraws too
    } else {
        Redraw();
    }
}

void TForm1::imgMainMouseDown(Qt::MouseButton button, int x, int y) {
    // A press ends any gesture; a stroke, from the press to the release, is one step of history.
    doc_.History().CloseGesture();
    if (button != Qt::LeftButton && button != Qt::RightButton) return;
    if (x < 0 || y < 0) return;
    const int column = x / zoom_;
    const int row = y / zoom_;
    if (column >= doc_.Width() || row >= doc_.Height()) return;
    doc_.History().Begin(doc_);
    doc_.SetCursor(column, row);
    SetPixel(column, row, button == Qt::LeftButton ? doc_.CurrentColour() : std::uint8_t{0});
    doc_.History().End(doc_, "stroke", Gesture::kMouse);
}

void TForm1::imgMainMouseUp() {
    doc_.History().CloseGesture();
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
    doc_.History().Begin(doc_);
    if (buttons.testFlag(Qt::LeftButton)) {
        Apply(titleOnly(doc_.SetPixel(column, row, doc_.CurrentColour())));
    }
    if (buttons.testFlag(Qt::RightButton)) Apply(titleOnly(doc_.SetPixel(column, row, 0)));
    doc_.History().End(doc_, "stroke", Gesture::kMouse);
    Redraw();
}
