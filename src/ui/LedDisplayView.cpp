#include "ui/LedDisplayView.h"

#include "simulator/SimImage.h"

#include <QImage>
#include <QPainter>

#include <algorithm>

namespace {

constexpr int DefaultWidth = 64;
constexpr int PreferredZoom = 3;

} // namespace

TLedDisplayView::TLedDisplayView(QWidget* parent)
    : QWidget(parent), FDisplay(std::make_unique<TSimDisplay>(DefaultWidth)), FFrame(DefaultWidth) {
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void TLedDisplayView::SetDisplayWidth(int width) {
    if (width != FDisplay->Width()) {
        FDisplay = std::make_unique<TSimDisplay>(width);
        updateGeometry();
        Refresh();
    }
}

void TLedDisplayView::Refresh() {
    TSimFrame frame = FDisplay->Frame();
    const int brightness = FDisplay->Brightness();
    if (!(frame == FFrame) || brightness != FBrightness) {
        FFrame = std::move(frame);
        FBrightness = brightness;
        update();
    }
}

int TLedDisplayView::ZoomFor(int width) const {
    return std::clamp(width / FDisplay->Width(), 1, MaxZoom);
}

int TLedDisplayView::heightForWidth(int width) const {
    return TSimFrame::Height * ZoomFor(width);
}

QSize TLedDisplayView::sizeHint() const {
    return {FDisplay->Width() * PreferredZoom, TSimFrame::Height * PreferredZoom};
}

QSize TLedDisplayView::minimumSizeHint() const {
    return {FDisplay->Width(), TSimFrame::Height};
}

void TLedDisplayView::paintEvent(QPaintEvent*) {
    const int zoom = std::min(ZoomFor(width()), std::max(height() / TSimFrame::Height, 1));
    const TRgbImage rgb = RenderLeds(FFrame, FBrightness, zoom);
    const QImage image(rgb.Pixels.data(), rgb.Width, rgb.Height, rgb.Width * 3, QImage::Format_RGB888);
    QPainter painter(this);
    painter.drawImage(QPoint(0, (height() - rgb.Height) / 2), image);
}
