#pragma once
// The New dialog: three fields for width, height and cel count. Frameless, centred on the screen,
// shown modally by the New command; the fields keep their texts between uses. Its controls are
// made when they are first needed, so that start-up does not wait for the fonts they use.

#include <QDialog>

class QLineEdit;

class TfrmNew : public QDialog {
    Q_OBJECT

  public:
    explicit TfrmNew(QWidget* parent = nullptr);

    QLineEdit* edtW();
    QLineEdit* edtH();
    QLineEdit* edtCel();

    // Key handler of the three fields: Enter closes with OK, Esc with Cancel. Returns false for
    // every other key, which is left to the field.
    bool edtWKeyDown(int code);

    void setVisible(bool visible) override;  // makes the controls before the first show

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void Build();

    QLineEdit* edtW_ = nullptr;
    QLineEdit* edtH_ = nullptr;
    QLineEdit* edtCel_ = nullptr;
};
