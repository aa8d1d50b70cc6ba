#include "editor/cel_view.h"

#include <cmath>

#include <QMouseEvent>
#include <QPainter>

namespace {

QPoint PositionOf(const QMouseEvent& event) {
    const QPointF p = event.position();
    return {static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y()))};
}

}  // namespace

CelView::CelView(const QImage& picture, QWidget* parent) : QWidget(parent), picture_(picture) {
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
    emit pressed(event->button(), p.x(), p.y());
}

void CelView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = PositionOf(*event);
    emit moved(event->buttons(), p.x(), p.y());
}

void CelView::mouseReleaseEvent(QMouseEvent*) {
    emit released();
}
