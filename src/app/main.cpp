// Placeholder until the editor window lands: opens an empty frameless window.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget w(nullptr, Qt::FramelessWindowHint);
    w.resize(128, 128);
    w.show();
    return app.exec();
}
