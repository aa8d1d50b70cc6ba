#pragma once
// Notices when another X client destroys a window of ours (xdotool windowclose, a window manager's
// last resort), which Qt does not report: the program would run on with no window.

#include <functional>

#include <QAbstractNativeEventFilter>
#include <QWidget>

class WindowDestroyedWatch : public QAbstractNativeEventFilter {
  public:
    // Calls then (later, from the event loop) once the native window of window is destroyed.
    WindowDestroyedWatch(QWidget& window, std::function<void()> then);
    ~WindowDestroyedWatch() override;
    WindowDestroyedWatch(const WindowDestroyedWatch&) = delete;
    WindowDestroyedWatch& operator=(const WindowDestroyedWatch&) = delete;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

  private:
    QWidget& window_;
    std::function<void()> then_;
};
