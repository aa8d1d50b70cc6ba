#pragma once
// The cel-size dialog of the picture import (key I): two fields, W and H, for the size of the cels
// the picture is cut into. Frameless and centred on the screen like the New dialog; Enter closes it
// with OK, Esc with Cancel (its key table in keys/dialog_keys.h). Each use shows the size it is
// given, the current document's.

#include <QDialog>

class QLineEdit;

class TfrmCelSize : public QDialog {
    Q_OBJECT

  public:
    explicit TfrmCelSize(QWidget* parent = nullptr);

    // Puts the size into the fields, as decimal numbers.
    void ShowSize(int width, int height);

    QLineEdit* edtW() const { return edtW_; }
    QLineEdit* edtH() const { return edtH_; }

    // Key handler of both fields: Enter closes with OK, Esc with Cancel. Returns false for every
    // other key, which is left to the field.
    bool edtKeyDown(int code);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    QLineEdit* edtW_ = nullptr;
    QLineEdit* edtH_ = nullptr;
};
