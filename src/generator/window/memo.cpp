#include "generator/window/memo.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextDocumentFragment>

#include "keys/qt_key_event.h"

MemoBox::MemoBox(QWidget* parent, KeyHandler onKeyDown)
    : QPlainTextEdit(parent), onKeyDown_(std::move(onKeyDown)) {
    setReadOnly(true);
    // Read-only, but the caret keys still move and select as in any text box.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setUndoRedoEnabled(false);
    setFocusPolicy(Qt::StrongFocus);
}

bool MemoBox::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride &&
        !static_cast<QKeyEvent*>(event)->modifiers().testFlag(Qt::ControlModifier)) {
        event->accept();
        return true;
    }
    return QPlainTextEdit::event(event);
}

void MemoBox::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers m = event->modifiers();
    if (onKeyDown_) {
        onKeyDown_(VirtualKeyOf(*event), m.testFlag(Qt::ShiftModifier),
                   m.testFlag(Qt::ControlModifier), m.testFlag(Qt::AltModifier));
    }
    QPlainTextEdit::keyPressEvent(event);
}

QMimeData* MemoBox::createMimeDataFromSelection() const {
    // The text box keeps lines as blocks, which the selection joins with LF.
    QString text = textCursor().selection().toPlainText();
    if (copyCrLf_) text.replace(u'\n', QStringLiteral("\r\n"));
    auto* mime = new QMimeData;
    mime->setText(text);
    return mime;
}
