// Every command of every window's key table, its key pressed on that window: the command must run
// (its effect is seen), not merely be found. A command without a check here fails.

#include <functional>
#include <map>
#include <set>

#include <QLineEdit>
#include <QTest>

#include "editor/cel_size_dialog.h"
#include "editor/companion_window.h"
#include "editor/key_help_window.h"
#include "generator/window/memo.h"
#include "keys/companion_keys.h"
#include "keys/dialog_keys.h"
#include "keys/generate_keys.h"
#include "keys/key_codes.h"
#include "test_support.h"

namespace {

// The Qt key that gives a virtual key code, as a keyboard sends it.
Qt::Key QtKeyOf(int code) {
    static const std::map<int, Qt::Key> kSpecial = {
        {vk::kEnter, Qt::Key_Return},
        {vk::kEscape, Qt::Key_Escape},
        {vk::kSpace, Qt::Key_Space},
        {vk::kPageUp, Qt::Key_PageUp},
        {vk::kPageDown, Qt::Key_PageDown},
        {vk::kLeft, Qt::Key_Left},
        {vk::kF1, Qt::Key_F1},
        {vk::kPlus, Qt::Key_Plus},
        {vk::kMinus, Qt::Key_Minus},
        {vk::kBracketLeft, Qt::Key_BracketLeft},
        {vk::kBracketRight, Qt::Key_BracketRight},
    };
    if (const auto it = kSpecial.find(code); it != kSpecial.end()) return it->second;
    return static_cast<Qt::Key>(code);  // digits and capital letters share their codes
}

// The modifiers a row asks for: held where it must be, not held where it plays no part.
Qt::KeyboardModifiers ModifiersOf(const KeyBinding& row) {
    Qt::KeyboardModifiers mods;
    if (row.shift == Held::kYes) mods |= Qt::ShiftModifier;
    if (row.ctrl == Held::kYes) mods |= Qt::ControlModifier;
    if (row.alt == Held::kYes) mods |= Qt::AltModifier;
    return mods;
}

// An editor on walk.dat: 4 x 4, three cels, cel 1 current, the cursor at (1, 2) on colour 5,
// a copied cel 0 of colour 3 at (0, 0). Every command has something to change.
struct Scene : test::Editor {
    Scene() {
        Open("walk.dat", test::SpriteBytes(4, 4, 3, "0,0=3 c1:1,2=5 c1:2,2=5 c1:3,0=9"));
        test::Press(*form, "Ctrl+C M Left");
        prompts.asked.clear();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        startPos = form->pos();
    }
    const TSpriteDocument& Doc() const { return form->Document(); }
    // The current cel's pixels that are not 0, sorted: "1,2=5 3,0=9".
    QString Cel() const {
        QStringList tokens;
        for (int y = 0; y < Doc().Height(); ++y) {
            for (int x = 0; x < Doc().Width(); ++x) {
                if (const int v = Doc().GetPixel(x, y); v != 0) {
                    tokens
                        << QString("%1,%2=%3").arg(x).arg(y).arg(QString::number(v, 16).toUpper());
                }
            }
        }
        tokens.sort();
        return tokens.join(' ');
    }
    QPoint startPos;
};

// Keys some commands need pressed first to have something to do: a change to undo or to save.
const std::map<Command, QString> kPrepare = {
    {Command::kUndo, "7"},
    {Command::kUndoStep, "7 Right 8"},
    {Command::kRedoStep, "7 U"},
    {Command::kSave, "7"},
};

using Check = std::function<void(Scene& scene, const QString& before, int key)>;

// The colour a key draws, read from the key itself: 0-9, then A-F for 10 to 15.
int ColourNamedBy(int key) {
    return key <= '9' ? key - '0' : key - 'A' + 10;
}

QString Colour(int key) {
    return QString::number(ColourNamedBy(key), 16).toUpper();
}

// Where an arrow key points, one step.
QPoint ArrowStep(int key) {
    static const std::map<int, QPoint> kSteps = {
        {vk::kLeft, {-1, 0}}, {vk::kUp, {0, -1}}, {vk::kRight, {1, 0}}, {vk::kDown, {0, 1}}};
    return kSteps.at(key);
}

// What each command does to the scene, seen from outside.
const std::map<Command, Check>& Checks() {
    static const std::map<Command, Check> checks = {
        {Command::kClose, [](Scene& s, const QString&, int) { QVERIFY(!s.form->isVisible()); }},
        {Command::kHelp,
         [](Scene& s, const QString&, int) {
             auto* help = s.form->findChild<KeyHelpWindow*>();
             QVERIFY(help != nullptr && help->isVisible());
         }},
        {Command::kClearPixel,
         [](Scene& s, const QString&, int) { QCOMPARE(s.Cel(), QString("2,2=5 3,0=9")); }},
        {Command::kPreviousCel,
         [](Scene& s, const QString&, int) { QCOMPARE(s.Doc().CurrentCel(), 0); }},
        {Command::kNextCel,
         [](Scene& s, const QString&, int) { QCOMPARE(s.Doc().CurrentCel(), 2); }},
        {Command::kMoveWindow,
         [](Scene& s, const QString&, int key) {
             QCOMPARE(s.form->pos() - s.startPos, ArrowStep(key) * 8);
         }},
        {Command::kScroll,
         [](Scene& s, const QString& before, int) {
             QVERIFY(s.Cel() != before);
             QCOMPARE(s.Cel().split(' ').size(), 3);
         }},
        {Command::kMoveCursor,
         [](Scene& s, const QString&, int key) {
             QCOMPARE(QPoint(s.Doc().CursorX(), s.Doc().CursorY()), QPoint(1, 2) + ArrowStep(key));
         }},
        {Command::kGenerate,
         [](Scene& s, const QString&, int) {
             QVERIFY(s.frmExport.isVisible());
             QCOMPARE(s.frmExport.Writer().name, std::string("walk"));  // NAME of the formats
         }},
        {Command::kNew, [](Scene& s, const QString&,
                           int) { QCOMPARE(s.prompts.asked.value(0), QString("New UNEXPECTED")); }},
        {Command::kOpen, [](Scene& s, const QString&,
                            int) { QVERIFY(s.prompts.asked.value(0).startsWith("Open: ")); }},
        {Command::kExportPng,
         [](Scene& s, const QString&, int) {
             QVERIFY(s.prompts.asked.value(0).startsWith("Export: "));
         }},
        {Command::kImportPng,
         [](Scene& s, const QString&, int) {
             QVERIFY(s.prompts.asked.value(0).startsWith("Import: "));
         }},
        {Command::kRotate,
         [](Scene& s, const QString&, int) { QCOMPARE(s.Cel(), QString("0,0=9 2,1=5 2,2=5")); }},
        {Command::kSave,
         [](Scene& s, const QString&, int) {
             QVERIFY(s.prompts.asked.isEmpty());  // walk.dat has a path: saved without asking
             QVERIFY(!s.Doc().Modified());
             QCOMPARE(test::Sorted(test::Pixels(s.Doc())),
                      QString("0,0=3 c1:1,2=7 c1:2,2=5 c1:3,0=9"));
         }},
        {Command::kSaveAs, [](Scene& s, const QString&,
                              int) { QVERIFY(s.prompts.asked.value(0).startsWith("Save as: ")); }},
        {Command::kUndo,
         [](Scene& s, const QString&, int) { QCOMPARE(s.Doc().GetPixel(1, 2), 5); }},
        {Command::kUndoStep,
         [](Scene& s, const QString&, int) {
             QCOMPARE(s.Doc().GetPixel(2, 2), 5);  // the 8 is taken back, the 7 stays
             QCOMPARE(s.Doc().GetPixel(1, 2), 7);
         }},
        {Command::kRedoStep,
         [](Scene& s, const QString&, int) { QCOMPARE(s.Doc().GetPixel(1, 2), 7); }},
        {Command::kCopyCel,
         [](Scene& s, const QString&, int) { QCOMPARE(s.form->windowTitle(), QString("copy:2")); }},
        {Command::kPasteCel,
         [](Scene& s, const QString&, int) { QCOMPARE(s.Cel(), QString("0,0=3")); }},
        {Command::kAddCel, [](Scene& s, const QString&, int) { QCOMPARE(s.Doc().CelCount(), 4); }},
        {Command::kDeleteCel,
         [](Scene& s, const QString&, int) {
             QCOMPARE(s.prompts.asked.value(0),
                      QString("Delete current cel? | Prompt | OkCancel UNEXPECTED"));
         }},
        {Command::kEraseCel,
         [](Scene& s, const QString&, int) {
             QCOMPARE(s.prompts.asked.value(0),
                      QString("Erase current chr? | Prompt | OkCancel UNEXPECTED"));
         }},
        {Command::kMirrorVertical,
         [](Scene& s, const QString&, int) { QCOMPARE(s.Cel(), QString("1,1=5 2,1=5 3,3=9")); }},
        {Command::kMirrorHorizontal,
         [](Scene& s, const QString&, int) { QCOMPARE(s.Cel(), QString("0,0=9 1,2=5 2,2=5")); }},
        {Command::kSetColour,
         [](Scene& s, const QString&, int key) {
             const QString drawn = ColourNamedBy(key) == 0 ? "" : "1,2=" + Colour(key) + " ";
             QCOMPARE(s.Cel(), drawn + "2,2=5 3,0=9");
         }},
        {Command::kFloodFill,
         [](Scene& s, const QString&, int key) {
             QCOMPARE(s.Doc().GetPixel(1, 2), ColourNamedBy(key));
             QCOMPARE(s.Doc().GetPixel(2, 2), ColourNamedBy(key));
         }},
        {Command::kCompanion,
         [](Scene& s, const QString&, int) {
             QVERIFY(s.form->Companion() != nullptr && s.form->Companion()->isVisible());
         }},
        {Command::kOnionSkin,
         [](Scene& s, const QString&, int) {
             // Cell (0, 0) of cel 1 holds colour 0; the previous cel's 3 shows through.
             QVERIFY(s.form->OnionSkin());
             QVERIFY(s.form->MainImage().pixel(1, 1) != test::PaletteColour(0, 1, 1));
         }},
        {Command::kChipView,
         [](Scene& s, const QString&, int) { QVERIFY(s.form->Chip() != nullptr); }},
        {Command::kZoomIn,
         [](Scene& s, const QString&, int) {
             QCOMPARE(s.form->Zoom(), 12);
             QCOMPARE(s.form->size(), QSize(48, 48));
         }},
        {Command::kZoomOut,
         [](Scene& s, const QString&, int) {
             QCOMPARE(s.form->Zoom(), 6);
             QCOMPARE(s.form->size(), QSize(24, 24));
         }},
    };
    return checks;
}

}  // namespace

class KeyTables : public QObject {
    Q_OBJECT

  private slots:
    void editorRowsRunTheirCommands();
    void generateWindowRowsRunTheirCommands();
    void newDialogRowsRunTheirCommands();
    void celSizeDialogRowsRunTheirCommands();
    void helpWindowRowsRunTheirCommands();
    void companionRowsRunTheirCommands();
};

// One key of each command, with the modifiers of its first row; which key and modifiers find which
// command is the key tables' own test (tests/keys).
void KeyTables::editorRowsRunTheirCommands() {
    std::set<Command> pressed;
    for (const auto table : {FirstKeyTable(), SecondKeyTable()}) {
        for (const KeyBinding& row : table) {
            if (row.command == Command::kNothing || !pressed.insert(row.command).second) continue;
            const auto check = Checks().find(row.command);
            QVERIFY2(check != Checks().end(), row.keys);
            Scene scene;
            if (const auto prepare = kPrepare.find(row.command); prepare != kPrepare.end()) {
                test::Press(*scene.form, prepare->second);
            }
            const QString before = scene.Cel();
            QTest::keyClick(scene.form.get(), QtKeyOf(row.firstKey), ModifiersOf(row));
            check->second(scene, before, row.firstKey);
            if (QTest::currentTestFailed()) {
                qWarning("the row \"%s\"", row.keys);
                return;
            }
        }
    }
    QCOMPARE(pressed.size(), Checks().size());
}

void KeyTables::generateWindowRowsRunTheirCommands() {
    for (const GenerateKey& row : GenerateKeyTable()) {
        test::Editor editor;
        editor.Open("walk.dat", test::SpriteBytes(4, 4, 1, "1,1=5"));
        editor.form->show();
        QTest::keyClick(editor.form.get(), Qt::Key_G);
        const GeneratorOptions before = editor.frmExport.Options();
        const TableFormat formatBefore = editor.frmExport.Format();
        QTest::keyClick(editor.frmExport.Memo1(), QtKeyOf(row.key));
        const GeneratorOptions after = editor.frmExport.Options();
        switch (row.command) {
            case GenerateCommand::kNothing:
                QFAIL(row.keys);
                break;
            case GenerateCommand::kClose:
                QVERIFY2(!editor.frmExport.isVisible(), row.keys);
                break;
            case GenerateCommand::kToggleTwoLayers:
            case GenerateCommand::kNextLayers:
                QVERIFY2(after.layers != before.layers, row.keys);
                break;
            case GenerateCommand::kToggleColourData:
                QVERIFY2(after.colorData != before.colorData, row.keys);
                break;
            case GenerateCommand::kToggleComma:
                QVERIFY2(after.comma != before.comma, row.keys);
                break;
            case GenerateCommand::kToggleType:
                QVERIFY2(after.outputType != before.outputType, row.keys);
                break;
            case GenerateCommand::kNextFormat:
                QVERIFY2(editor.frmExport.Format() != formatBefore, row.keys);
                break;
            case GenerateCommand::kNextPieces:
                QVERIFY2(after.pieces != before.pieces, row.keys);
                break;
        }
    }
}

// Each row closes the dialog with its answer, pressed in its second field.
template <typename Dialog>
void DialogRowsCloseIt(std::span<const DialogKey> table) {
    for (const DialogKey& row : table) {
        Dialog dialog;
        dialog.open();
        QTest::keyClick(dialog.edtH(), QtKeyOf(row.key));
        QVERIFY2(!dialog.isVisible(), row.keys);
        const int want =
            row.command == DialogCommand::kAccept ? QDialog::Accepted : QDialog::Rejected;
        QCOMPARE(dialog.result(), want);
    }
}

void KeyTables::newDialogRowsRunTheirCommands() {
    DialogRowsCloseIt<TfrmNew>(NewDialogKeyTable());
}

void KeyTables::celSizeDialogRowsRunTheirCommands() {
    DialogRowsCloseIt<CelSizeDialog>(CelSizeDialogKeyTable());
}

void KeyTables::helpWindowRowsRunTheirCommands() {
    for (const DialogKey& row : HelpWindowKeyTable()) {
        QWidget editor;
        KeyHelpWindow& help = ShowKeyHelp(editor);
        QVERIFY(help.isVisible());
        QTest::keyClick(&help, QtKeyOf(row.key));
        QVERIFY2(!help.isVisible(), row.keys);
    }
}

// The companion window of an editor on four cels with the second current, shown by W; the key
// goes to the companion.
void KeyTables::companionRowsRunTheirCommands() {
    for (const CompanionKey& row : CompanionKeyTable()) {
        test::Editor editor;
        editor.Open("walk.dat", test::SpriteBytes(4, 4, 4, "1,1=5"));
        editor.form->show();
        test::Press(*editor.form, "M W");
        CompanionWindow* companion = editor.form->Companion();
        QVERIFY(companion != nullptr && companion->isVisible());
        QTest::keyClick(companion, QtKeyOf(row.key));
        const AnimationPlayer& player = companion->Player();
        switch (row.command) {
            case CompanionCommand::kNothing:
                QFAIL(row.keys);
                break;
            case CompanionCommand::kPlayPause:
                QVERIFY2(!player.Playing() && !companion->Timer().isActive(), row.keys);
                break;
            case CompanionCommand::kFaster:
                QVERIFY2(player.Fps() == 11 && companion->Timer().interval() == 91, row.keys);
                break;
            case CompanionCommand::kSlower:
                QVERIFY2(player.Fps() == 9 && companion->Timer().interval() == 111, row.keys);
                break;
            case CompanionCommand::kFirstHere:
                QVERIFY2(player.First() == 1 && player.Last() == 3, row.keys);
                break;
            case CompanionCommand::kLastHere:
                QVERIFY2(player.First() == 0 && player.Last() == 1, row.keys);
                break;
            case CompanionCommand::kBackAndForth:
                QVERIFY2(player.BackAndForth(), row.keys);
                break;
            case CompanionCommand::kHide:
                QVERIFY2(!companion->isVisible(), row.keys);
                QTRY_COMPARE(QApplication::activeWindow(), editor.form.get());
                break;
        }
    }
}

QTEST_MAIN(KeyTables)
#include "tst_editor_key_tables.moc"
