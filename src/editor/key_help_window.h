#pragma once
// F1 in the editor: a window that shows the key listing (key_help_listing.h). Esc or F1 closes it
// and gives the keyboard back to the editor; the document is never touched.

#include <QWidget>

class QTextBrowser;

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
