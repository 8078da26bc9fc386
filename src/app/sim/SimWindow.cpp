#include "SimWindow.h"

#include "simulator/SimImage.h"

#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>

namespace {

constexpr int RedrawIntervalMs = 40;
constexpr int MinZoom = 2;
constexpr int MaxZoom = 32;

} // namespace

TSimWindow::TSimWindow(const TSimDisplay& display, int zoom, const QString& title) : FDisplay(display) {
    setWindowTitle(title);
    SetZoom(zoom);
    connect(&FRedraw, &QTimer::timeout, this, qOverload<>(&QWidget::update));
    FRedraw.start(RedrawIntervalMs);
}

void TSimWindow::SetZoom(int zoom) {
    FZoom = std::clamp(zoom, MinZoom, MaxZoom);
    setFixedSize(FDisplay.Width() * FZoom, TSimFrame::Height * FZoom);
    update();
}

void TSimWindow::paintEvent(QPaintEvent*) {
    const TRgbImage image = RenderLeds(FDisplay.Frame(), FDisplay.Brightness(), FZoom);
    const QImage picture(image.Pixels.data(), image.Width, image.Height, image.Width * 3,
                         QImage::Format_RGB888);
    QPainter(this).drawImage(0, 0, picture);
}

void TSimWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Plus) {
        SetZoom(FZoom + 1);
    } else if (event->key() == Qt::Key_Minus) {
        SetZoom(FZoom - 1);
    } else {
        QWidget::keyPressEvent(event);
    }
}

void TSimWindow::wheelEvent(QWheelEvent* event) {
    if ((event->modifiers() & Qt::ControlModifier) != 0 && event->angleDelta().y() != 0) {
        SetZoom(FZoom + (event->angleDelta().y() > 0 ? 1 : -1));
    } else {
        QWidget::wheelEvent(event);
    }
}
