#include "editor/new_dialog.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>

#include "editor/key_codes.h"

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
    label->setBuddy(buddy);
}

}  // namespace

TfrmNew::TfrmNew(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setWindowTitle(QStringLiteral("New"));
    setFixedSize(kClientWidth, kClientHeight);
    QFont small = font();
    small.setPixelSize(12);
    setFont(small);

    edtW = MakeField(this, "edtW", 24, 4, "8");
    edtH = MakeField(this, "edtH", 24, 32, "8");
    edtCel = MakeField(this, "edtCel", 32, 56, "1");
    MakeLabel(this, "W", 7, 8, 11, edtW);
    MakeLabel(this, "H", 8, 35, 8, edtH);
    MakeLabel(this, "Cel", 8, 59, 15, edtCel);
    setTabOrder(edtW, edtH);
    setTabOrder(edtH, edtCel);
    for (QLineEdit* field : {edtW, edtH, edtCel}) field->installEventFilter(this);
}

bool TfrmNew::edtWKeyDown(int code) {
    if (code == vk::kEnter) {
        done(QDialog::Accepted);
        return true;
    }
    if (code == vk::kEscape) {
        done(QDialog::Rejected);
        return true;
    }
    return false;
}

bool TfrmNew::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        (watched == edtW || watched == edtH || watched == edtCel)) {
        if (edtWKeyDown(VirtualKeyOf(*static_cast<QKeyEvent*>(event)))) return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmNew::showEvent(QShowEvent* event) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    edtW->setFocus();
    edtW->selectAll();
    QDialog::showEvent(event);
}
