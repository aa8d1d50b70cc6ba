#pragma once
// The application object: no exception ever crosses the event loop. One raised by an event
// handler is handed to the reporter (the program shows it in the error box) and the loop goes on
// with the next event.

#include <functional>

#include <QApplication>

// The text of an exception as the error box shows it: a full stop after a last character that
// sorts after "." (a letter or a digit gets one; an empty text, or one ending in "." or ")" or
// "!", none). Exceptions come from code that does not write its texts for the error box.
QString ExceptionText(const QString& what);

class GuardedApplication : public QApplication {
  public:
    using Reporter = std::function<void(const QString& message)>;

    GuardedApplication(int& argc, char** argv);
    void SetReporter(Reporter reporter) { reporter_ = std::move(reporter); }

    bool notify(QObject* receiver, QEvent* event) override;

  private:
    void Report(const QString& message);
    Reporter reporter_;
};
