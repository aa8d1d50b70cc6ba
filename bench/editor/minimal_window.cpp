// The least Qt Widgets program that shows one painted frameless window: the yardstick for the
// editor's start-up time and memory.

#include <QApplication>
#include <QPainter>
#include <QWidget>

class Painted : public QWidget {
  public:
    Painted() : QWidget(nullptr, Qt::FramelessWindowHint) { resize(128, 128); }

  protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), QColor(28, 28, 36)); }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Painted window;
    window.show();
    return QApplication::exec();
}
