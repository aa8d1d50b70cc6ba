#include "editor/window_destroyed.h"

#include <xcb/xcb.h>

#include <QCoreApplication>
#include <QTimer>

WindowDestroyedWatch::WindowDestroyedWatch(QWidget& window, std::function<void()> then)
    : window_(window), then_(std::move(then)) {
    QCoreApplication::instance()->installNativeEventFilter(this);
}

WindowDestroyedWatch::~WindowDestroyedWatch() {
    if (QCoreApplication::instance() != nullptr) {
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }
}

bool WindowDestroyedWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != XCB_DESTROY_NOTIFY) return false;
    const auto* destroyed = static_cast<const xcb_destroy_notify_event_t*>(message);
    if (!window_.testAttribute(Qt::WA_WState_Created) || destroyed->window != window_.winId()) {
        return false;
    }
    // Not from inside Qt's event dispatch: the answer may open a dialog.
    QTimer::singleShot(0, &window_, then_);
    return false;
}
