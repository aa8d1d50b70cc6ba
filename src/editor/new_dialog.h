#pragma once
// The New dialog: three fields for width, height and cel count. Frameless, centred on the screen,
// shown modally by the New command; the fields keep their texts between uses.

#include <QDialog>

class QLineEdit;

class TfrmNew : public QDialog {
    Q_OBJECT

public:
    explicit TfrmNew(QWidget* parent = nullptr);

    QLineEdit* edtW = nullptr;
    QLineEdit* edtH = nullptr;
    QLineEdit* edtCel = nullptr;

    // Key handler of the three fields: Enter closes with OK, Esc with Cancel. Returns false for
    // every other key, which is left to the field.
    bool edtWKeyDown(int code);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
};
