#pragma once
// The cel-size dialog of the picture import (key I): two fields, W and H, for the size of the cels
// the picture is cut into. Frameless and centred on the screen like the New dialog; Enter closes it
// with OK, Esc with Cancel (its key table in keys/dialog_keys.h). Each use shows the size it is
// given. Below the fields it may show two check boxes: "Halve" (checked) for a picture that looks
// like an export at twice its size, "Keep the palette's indices" (not checked) for an indexed
// picture whose palette is not ours.

#include <QDialog>

class QCheckBox;
class QLineEdit;

class CelSizeDialog : public QDialog {
    Q_OBJECT

  public:
    explicit CelSizeDialog(QWidget* parent = nullptr);

    // Puts the size into the fields, as decimal numbers.
    void ShowSize(int width, int height);
    // Shows the check boxes asked for, and makes room for them.
    void ShowChoices(bool halving, bool indices);

    QLineEdit* edtW() const { return edtW_; }
    QLineEdit* edtH() const { return edtH_; }
    QCheckBox* chkHalve() const { return chkHalve_; }      // nullptr until shown
    QCheckBox* chkIndices() const { return chkIndices_; }  // nullptr until shown

    // Key handler of both fields: Enter closes with OK, Esc with Cancel. Returns false for every
    // other key, which is left to the field.
    bool edtKeyDown(int code);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    QLineEdit* edtW_ = nullptr;
    QLineEdit* edtH_ = nullptr;
    QCheckBox* chkHalve_ = nullptr;
    QCheckBox* chkIndices_ = nullptr;
};
