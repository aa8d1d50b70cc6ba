#include "editor/new_dialog.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>

#include "keys/dialog_keys.h"
#include "keys/qt_key_event.h"

namespace {

constexpr int kClientWidth = 108;
constexpr int kClientHeight = 85;

QLineEdit* MakeField(QWidget* parent, const char* name, int left, int top, const char* text) {
    auto* field = new QLineEdit(QString::fromLatin1(text), parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setGeometry(left, top, 49, 21);
    return field;
}

void MakeLabel(QWidget* parent, const char* text, int left, int top, int width, QLineEdit* buddy) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setGeometry(left, top, width, 13);
    // This desktop's fonts are wider than the ones the sizes were chosen for: grow to the text.
    if (label->sizeHint().width() > width) label->adjustSize();
    label->setBuddy(buddy);
}

}  // namespace

TfrmNew::TfrmNew(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setWindowTitle(QStringLiteral("New"));
    setFixedSize(kClientWidth, kClientHeight);
}

void TfrmNew::Build() {
    if (edtW_ != nullptr) return;
    QFont small = font();
    small.setPixelSize(12);
    setFont(small);
    edtW_ = MakeField(this, "edtW", 24, 4, "8");
    edtH_ = MakeField(this, "edtH", 24, 32, "8");
    edtCel_ = MakeField(this, "edtCel", 32, 56, "1");
    MakeLabel(this, "W", 7, 8, 11, edtW_);
    MakeLabel(this, "H", 8, 35, 8, edtH_);
    MakeLabel(this, "Cel", 8, 59, 15, edtCel_);
    setTabOrder(edtW_, edtH_);
    setTabOrder(edtH_, edtCel_);
    for (QLineEdit* field : {edtW_, edtH_, edtCel_}) field->installEventFilter(this);
}

QLineEdit* TfrmNew::edtW() {
    Build();
    return edtW_;
}

QLineEdit* TfrmNew::edtH() {
    Build();
    return edtH_;
}

QLineEdit* TfrmNew::edtCel() {
    Build();
    return edtCel_;
}

// The key's command comes from the New dialog's key table.
bool TfrmNew::edtWKeyDown(int code) {
    switch (FindDialogCommand(NewDialogKeyTable(), code)) {
        case DialogCommand::kAccept:
            done(QDialog::Accepted);
            return true;
        case DialogCommand::kCancel:
            done(QDialog::Rejected);
            return true;
        case DialogCommand::kNothing:
        case DialogCommand::kClose:
            break;
    }
    return false;
}

bool TfrmNew::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        (watched == edtW_ || watched == edtH_ || watched == edtCel_)) {
        if (edtWKeyDown(VirtualKeyOf(*static_cast<QKeyEvent*>(event)))) return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmNew::setVisible(bool visible) {
    if (visible) Build();
    QDialog::setVisible(visible);
}

void TfrmNew::showEvent(QShowEvent* event) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    edtW_->setFocus();
    edtW_->selectAll();
    QDialog::showEvent(event);
}
