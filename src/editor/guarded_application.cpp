#include "editor/guarded_application.h"

#include <exception>

QString ExceptionText(const QString& what) {
    if (!what.isEmpty() && what.back() > QChar(u'.')) return what + u'.';
    return what;
}

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        Report(ExceptionText(QString::fromUtf8(e.what())));
    } catch (...) {
        // Whatever was thrown carries no message of its own.
        Report(QString());
    }
    return false;
}

void GuardedApplication::Report(const QString& message) {
    if (reporter_) {
        reporter_(message);
    } else {
        qWarning("spritehex: %s", qUtf8Printable(message));
    }
}
