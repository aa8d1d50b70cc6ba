#include "generator/window/generate_window.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScreen>

namespace {
constexpr int kClientWidth = 409;
constexpr int kClientHeight = 166;
}  // namespace

TfrmExport::TfrmExport(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    setWindowTitle(QStringLiteral("Generate"));
    setFixedSize(kClientWidth, kClientHeight);
}

void TfrmExport::SetData(const std::uint8_t* buffer) {
    buffer_ = buffer;
}

void TfrmExport::ShowWindow() {
    if (!placed_) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->geometry();
            move(area.x() + (area.width() - width()) / 2,
                 area.y() + (area.height() - height()) / 2);
        }
        placed_ = true;
    }
    if (QWidget* active = QApplication::activeWindow(); active != nullptr && active != this) {
        returnTo_ = active;
    }
    show();
    raise();
    activateWindow();
}

void TfrmExport::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        hide();
        if (returnTo_ != nullptr) returnTo_->activateWindow();
        return;
    }
    QWidget::keyPressEvent(event);
}
