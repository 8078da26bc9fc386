#include "ui/StatusMark.h"

#include <QPainter>
#include <QPixmap>

QColor StateColor(TDisplayState state) {
    switch (state) {
    case TDisplayState::Connecting:
        return {230, 170, 0};
    case TDisplayState::Failed:
        return {217, 32, 50};
    case TDisplayState::Paused:
        return {60, 120, 220};
    case TDisplayState::Sending:
        return {14, 197, 18};
    default:
        return {150, 150, 150};
    }
}

QIcon StateIcon(TDisplayState state) {
    constexpr int Size = 32;
    QPixmap dot(Size, Size);
    dot.fill(Qt::transparent);
    QPainter painter(&dot);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(80, 80, 80), 2));
    painter.setBrush(StateColor(state));
    painter.drawEllipse(4, 4, Size - 8, Size - 8);
    // The button of the page shown is disabled: its mark keeps its colour.
    QIcon icon(dot);
    icon.addPixmap(dot, QIcon::Disabled);
    return icon;
}

QString StateText(TDisplayState state) {
    switch (state) {
    case TDisplayState::Connecting:
        return QStringLiteral("Ansluter");
    case TDisplayState::Failed:
        return QStringLiteral("Anslutningen misslyckades");
    case TDisplayState::Paused:
        return QStringLiteral("Uppkopplad, utskick pausat");
    case TDisplayState::Sending:
        return QStringLiteral("Uppkopplad, skickar rader");
    default:
        return QStringLiteral("Ej uppkopplad");
    }
}
