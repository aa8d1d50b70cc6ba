#pragma once
// imgMain, the whole of the editor window: shows the enlarged cel and tells of mouse presses and
// moves as pixel positions in the view; the window turns them into cells.

#include <QImage>
#include <QWidget>

class CelView : public QWidget {
    Q_OBJECT

  public:
    // Paints picture, which the window keeps up to date.
    CelView(const QImage& picture, QWidget* parent);

  signals:
    void pressed(Qt::MouseButton button, int x, int y);
    void moved(Qt::MouseButtons buttons, int x, int y);
    void released();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    const QImage& picture_;
};
