#include "ui/DialGauge.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// The scale spans three quarters of the circle, from lower left to lower right.
constexpr double StartAngle = 225;
constexpr double Sweep = 270;

QPointF OnCircle(double radius, double degrees) {
    const double radians = degrees * std::numbers::pi / 180;
    return {radius * std::cos(radians), -radius * std::sin(radians)};
}

} // namespace

TDialGauge::TDialGauge(QWidget* parent) : QWidget(parent) {
    setMinimumSize(60, 60);
}

void TDialGauge::SetValue(double value) {
    if (value != FValue) {
        FValue = value;
        update();
    }
}

void TDialGauge::SetScale(int maximum, int divisions) {
    FMaximum = std::max(maximum, 0);
    FDivisions = std::max(divisions, 1);
    update();
}

QString TDialGauge::ValueText() const {
    return QString::asprintf("%05.1f", FValue);
}

double TDialGauge::AngleOf(double value) const {
    const double share = FMaximum > 0 ? std::clamp(value / FMaximum, 0.0, 1.0) : 0.0;
    return StartAngle - Sweep * share;
}

void TDialGauge::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double side = std::min(width(), height());
    painter.translate(width() / 2.0, height() / 2.0);
    const double radius = side / 2 - 2;

    painter.setPen(QPen(QColor(90, 90, 90), 3));
    painter.setBrush(QColor(245, 245, 245));
    painter.drawEllipse(QPointF(0, 0), radius, radius);

    PaintScale(painter, radius * 0.9);
    PaintNeedle(painter, radius * 0.75);

    QFont font = painter.font();
    font.setPixelSize(std::max(8, static_cast<int>(side / 11)));
    painter.setFont(font);
    // Below the centre, between the labels at both ends of the scale.
    const QRectF textBox(-radius * 0.32, radius * 0.5, radius * 0.64, radius * 0.28);
    painter.setPen(QPen(QColor(60, 60, 60), 1));
    painter.setBrush(Qt::white);
    painter.drawRect(textBox);
    painter.drawText(textBox, Qt::AlignCenter, ValueText());
}

void TDialGauge::PaintScale(QPainter& painter, double radius) const {
    const int steps = FDivisions * SubDivisions;
    QFont font = painter.font();
    font.setPixelSize(std::max(7, static_cast<int>(radius / 6)));
    painter.setFont(font);
    for (int step = 0; step <= steps; ++step) {
        const double degrees = StartAngle - Sweep * step / steps;
        const bool main = step % SubDivisions == 0;
        painter.setPen(QPen(QColor(40, 40, 40), main ? 2 : 1));
        painter.drawLine(OnCircle(radius, degrees), OnCircle(radius * (main ? 0.82 : 0.9), degrees));
        if (main) {
            const int label = FMaximum * (step / SubDivisions) / FDivisions;
            const QPointF centre = OnCircle(radius * 0.64, degrees);
            painter.drawText(QRectF(centre.x() - 15, centre.y() - 8, 30, 16), Qt::AlignCenter,
                             QString::number(label));
        }
    }
}

void TDialGauge::PaintNeedle(QPainter& painter, double radius) const {
    const double degrees = AngleOf(FValue);
    QPainterPath needle;
    needle.moveTo(OnCircle(radius, degrees));
    needle.lineTo(OnCircle(radius * 0.06, degrees + 90));
    needle.lineTo(OnCircle(radius * 0.06, degrees - 90));
    needle.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(217, 32, 50));
    painter.drawPath(needle);
    painter.setBrush(QColor(60, 60, 60));
    painter.drawEllipse(QPointF(0, 0), radius * 0.08, radius * 0.08);
}
