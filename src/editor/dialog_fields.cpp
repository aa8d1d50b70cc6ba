#include "editor/dialog_fields.h"

#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>

#include "keys/dialog_keys.h"

void UseDialogFont(QWidget& dialog) {
    QFont small = dialog.font();
    small.setPixelSize(12);
    dialog.setFont(small);
}

QLineEdit* MakeDialogField(QWidget* parent, const char* name, int left, int top, const char* text) {
    auto* field = new QLineEdit(QString::fromLatin1(text), parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setGeometry(left, top, 49, 21);
    return field;
}

void MakeDialogLabel(QWidget* parent, const char* text, int left, int top, int width,
                     QLineEdit* buddy) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setGeometry(left, top, width, 13);
    // This desktop's fonts are wider than the ones the sizes were chosen for: grow to the text.
    if (label->sizeHint().width() > width) label->adjustSize();
    label->setBuddy(buddy);
}

void CentreOnScreen(QWidget& dialog) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        dialog.move(area.x() + (area.width() - dialog.width()) / 2,
                    area.y() + (area.height() - dialog.height()) / 2);
    }
}

bool CloseByKey(QDialog& dialog, std::span<const DialogKey> table, int code) {
    switch (FindCommand(table, code)) {
        case DialogCommand::kAccept:
            dialog.done(QDialog::Accepted);
            return true;
        case DialogCommand::kCancel:
            dialog.done(QDialog::Rejected);
            return true;
        case DialogCommand::kNothing:
        case DialogCommand::kClose:
            break;
    }
    return false;
}
