#include "editor/cel_size_dialog.h"

#include <algorithm>

#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>

#include "editor/dialog_fields.h"
#include "keys/dialog_keys.h"
#include "keys/qt_key_event.h"

namespace {

// The New dialog without its third row.
constexpr int kClientWidth = 108;
constexpr int kClientHeight = 61;

}  // namespace

CelSizeDialog::CelSizeDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setWindowTitle(QStringLiteral("Cel size"));
    setFixedSize(kClientWidth, kClientHeight);
    UseDialogFont(*this);
    edtW_ = MakeDialogField(this, "edtW", 24, 4, "8");
    edtH_ = MakeDialogField(this, "edtH", 24, 32, "8");
    MakeDialogLabel(this, "W", 7, 8, 11, edtW_);
    MakeDialogLabel(this, "H", 8, 35, 8, edtH_);
    setTabOrder(edtW_, edtH_);
    for (QLineEdit* field : {edtW_, edtH_}) field->installEventFilter(this);
}

void CelSizeDialog::ShowSize(int width, int height) {
    edtW_->setText(QString::number(width));
    edtH_->setText(QString::number(height));
}

void CelSizeDialog::ShowChoices(bool halving, bool indices) {
    if (!halving && !indices) return;
    int top = kClientHeight - 4;
    int width = kClientWidth;
    const auto add = [&](const char* text, bool checked) {
        auto* box = new QCheckBox(QString::fromUtf8(text), this);
        box->setChecked(checked);
        box->adjustSize();
        box->move(7, top);
        box->installEventFilter(this);
        top += box->height() + 2;
        width = std::max(width, box->width() + 14);
        return box;
    };
    if (halving) chkHalve_ = add("&Halve: it looks like an export at twice its size", true);
    if (indices) chkIndices_ = add("Keep the palette's &indices", false);
    setFixedSize(width, top + 6);
}

// The key's command comes from the cel-size dialog's key table.
bool CelSizeDialog::edtKeyDown(int code) {
    return CloseByKey(*this, CelSizeDialogKeyTable(), code);
}

bool CelSizeDialog::eventFilter(QObject* watched, QEvent* event) {
    const bool ours = watched == edtW_ || watched == edtH_ ||
                      (watched != nullptr && (watched == chkHalve_ || watched == chkIndices_));
    if (event->type() == QEvent::KeyPress && ours) {
        if (edtKeyDown(VirtualKeyOf(*static_cast<QKeyEvent*>(event)))) return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CelSizeDialog::showEvent(QShowEvent* event) {
    CentreOnScreen(*this);
    edtW_->setFocus();
    edtW_->selectAll();
    QDialog::showEvent(event);
}
