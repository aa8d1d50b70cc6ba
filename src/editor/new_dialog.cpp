#include "editor/new_dialog.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "editor/dialog_fields.h"
#include "keys/dialog_keys.h"
#include "keys/qt_key_event.h"

namespace {

constexpr int kClientWidth = 108;
constexpr int kClientHeight = 85;

}  // namespace

TfrmNew::TfrmNew(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setWindowTitle(QStringLiteral("New"));
    setFixedSize(kClientWidth, kClientHeight);
}

void TfrmNew::Build() {
    if (edtW_ != nullptr) return;
    UseDialogFont(*this);
    edtW_ = MakeDialogField(this, "edtW", 24, 4, "8");
    edtH_ = MakeDialogField(this, "edtH", 24, 32, "8");
    edtCel_ = MakeDialogField(this, "edtCel", 32, 56, "1");
    MakeDialogLabel(this, "W", 7, 8, 11, edtW_);
    MakeDialogLabel(this, "H", 8, 35, 8, edtH_);
    MakeDialogLabel(this, "Cel", 8, 59, 15, edtCel_);
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
    return CloseByKey(*this, NewDialogKeyTable(), code);
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
    CentreOnScreen(*this);
    edtW_->setFocus();
    edtW_->selectAll();
    QDialog::showEvent(event);
}
