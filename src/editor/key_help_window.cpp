#include "editor/key_help_window.h"

#include <algorithm>
#include <cmath>

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "editor/key_help_listing.h"
#include "keys/dialog_keys.h"
#include "keys/qt_key_event.h"

KeyHelpWindow::KeyHelpWindow(QWidget* editor) : QWidget(editor, Qt::Window) {
    setWindowTitle(QStringLiteral("spritehex keys"));
    text_ = new QTextBrowser(this);
    text_->setHtml(KeyHelpHtml(KeyHelpSections()));
    text_->installEventFilter(this);
    setFocusProxy(text_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(text_);
    QRect screen(0, 0, 1024, 768);
    if (const QScreen* primary = QGuiApplication::primaryScreen()) {
        screen = primary->availableGeometry();
    }
    // As wide as fits up to 900 pixels, and as tall as the listing where the screen allows.
    const int w = std::min(900, screen.width());
    text_->document()->setTextWidth(w - 2 * text_->frameWidth());
    const int h = static_cast<int>(std::ceil(text_->document()->size().height())) +
                  2 * text_->frameWidth() + 2;
    resize(w, std::min(h, screen.height()));
    move(screen.x() + (screen.width() - width()) / 2,
         screen.y() + (screen.height() - height()) / 2);
}

QString KeyHelpWindow::Text() const {
    return text_->toPlainText();
}

bool KeyHelpWindow::HandleKey(QKeyEvent& event) {
    if (FindCommand(HelpWindowKeyTable(), VirtualKeyOf(event)) != DialogCommand::kClose) {
        return false;
    }
    hide();
    GiveBackKeyboard();
    return true;
}

void KeyHelpWindow::GiveBackKeyboard() {
    // Without a window manager nobody else hands the focus back to the editor.
    if (QWidget* editor = parentWidget()) editor->activateWindow();
}

bool KeyHelpWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == text_ && event->type() == QEvent::KeyPress &&
        HandleKey(*static_cast<QKeyEvent*>(event))) {
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void KeyHelpWindow::keyPressEvent(QKeyEvent* event) {
    if (!HandleKey(*event)) QWidget::keyPressEvent(event);
}

void KeyHelpWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    GiveBackKeyboard();
}

KeyHelpWindow& ShowKeyHelp(QWidget& editor) {
    auto* help = editor.findChild<KeyHelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (help == nullptr) help = new KeyHelpWindow(&editor);
    help->show();
    help->raise();
    help->activateWindow();
    help->setFocus();
    return *help;
}
