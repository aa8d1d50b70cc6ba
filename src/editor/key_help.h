#pragma once
// F1 in the editor: a window that lists every key and mouse command of the editor and of the
// Generate window, grouped by what they do, with the modifier rules in plain words. The key lines
// are read from the tables the key handlers dispatch on (keys/editor_keys.h, keys/generate_keys.h),
// so a binding added there shows up here by itself. Esc or F1 closes the window and gives the
// keyboard back to the editor; the document is never touched.

#include <vector>

#include <QString>
#include <QWidget>

#include "keys/editor_keys.h"

class QTextBrowser;

struct HelpLine {
    QString keys;  // "PageUp, J"
    QString what;  // "previous cel"
    // The rows of the editor's key tables this line lists; empty for the mouse, the Generate
    // window and the modifier rules.
    std::vector<const KeyBinding*> bindings;
};

struct HelpSection {
    QString title;
    std::vector<HelpLine> lines;
};

// The listing, in this order: Drawing, Cursor, Cels, Transforms, Files, Window, Generate window,
// Modifier keys. Rows of the key tables that run the same command with the same text share a line.
std::vector<HelpSection> KeyHelpSections();

// The listing as rich text, in two columns.
QString KeyHelpHtml(const std::vector<HelpSection>& sections);

class KeyHelpWindow : public QWidget {
    Q_OBJECT

  public:
    // A window of its own that belongs to the editor window; hidden until ShowKeyHelp.
    explicit KeyHelpWindow(QWidget* editor);

    // The listing as shown, as plain text.
    QString Text() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    // Esc or F1: hide, and let the editor take the keyboard again.
    bool HandleKey(QKeyEvent& event);
    void GiveBackKeyboard();

    QTextBrowser* text_ = nullptr;
};

// Shows the editor's help window (made on first use, one per editor), centred on the screen
// the first time, in front and with the keyboard focus.
KeyHelpWindow& ShowKeyHelp(QWidget& editor);
