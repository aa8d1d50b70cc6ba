#pragma once
// imgMain, the whole of the editor window: shows the enlarged cel and hands mouse events to the
// window as cell-independent pixel positions.

#include <QImage>
#include <QWidget>

class TForm1;

class CelView : public QWidget {
  public:
    // Paints picture, which the window keeps up to date.
    CelView(TForm1& form, const QImage& picture);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    TForm1& form_;
    const QImage& picture_;
};
