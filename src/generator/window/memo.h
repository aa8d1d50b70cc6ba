#pragma once
// Memo1 of the Generate window: a read-only text box without word wrap or scroll bars whose key
// presses go first to a handler of its window, then to the text box itself. Copying from it gives
// the selected text with the line breaks the generated text holds: CR LF, or LF alone.
//
// Keys without Ctrl reach the handler even when Alt makes them a label's mnemonic: the text box
// claims them before any shortcut (a mnemonic would only move the focus here anyway).

#include <functional>

#include <QPlainTextEdit>

class MemoBox : public QPlainTextEdit {
    Q_OBJECT

  public:
    // Gets every key press before the text box does; it never consumes the key.
    using KeyHandler = std::function<void(int key, bool shift, bool ctrl, bool alt)>;

    MemoBox(QWidget* parent, KeyHandler onKeyDown);

    // Whether a copy joins lines with CR LF (the default) or with LF alone.
    void SetCopyCrLf(bool crlf) { copyCrLf_ = crlf; }

  protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    QMimeData* createMimeDataFromSelection() const override;

  private:
    KeyHandler onKeyDown_;
    bool copyCrLf_ = true;
};
