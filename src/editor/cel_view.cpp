#include "editor/cel_view.h"

#include <cmath>

#include <QMouseEvent>
#include <QPainter>

#include "editor/editor_window.h"

namespace {

QPoint PositionOf(const QMouseEvent& event) {
    const QPointF p = event.position();
    return {static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y()))};
}

}  // namespace

CelView::CelView(TForm1& form, const QImage& picture)
    : QWidget(&form), form_(form), picture_(picture) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
}

void CelView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, picture_);
}

void CelView::mousePressEvent(QMouseEvent* event) {
    const QPoint p = PositionOf(*event);
    form_.imgMainMouseDown(event->button(), p.x(), p.y());
}

void CelView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = PositionOf(*event);
    form_.imgMainMouseMove(event->buttons(), p.x(), p.y());
}
