#include "ui/WindowIcon.h"

#include <QPainter>
#include <QPixmap>

#include <array>

namespace {

// A 7 x 7 dot pattern of the letter V, one string per dot row.
constexpr std::array<const char*, 7> Letter = {
    "#.....#", "#.....#", ".#...#.", ".#...#.", "..#.#..", "..#.#..", "...#...",
};

QPixmap PaintIcon(int side) {
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(90, 90, 90), side / 32.0));
    painter.setBrush(QColor(25, 25, 25));
    painter.drawRoundedRect(QRectF(1, 1, side - 2, side - 2), side / 8.0, side / 8.0);

    const double pitch = side / 9.0;
    const double dot = pitch * 0.8;
    painter.setPen(Qt::NoPen);
    for (std::size_t row = 0; row < Letter.size(); ++row) {
        for (std::size_t column = 0; Letter[row][column] != '\0'; ++column) {
            const bool lit = Letter[row][column] == '#';
            painter.setBrush(lit ? QColor(240, 40, 40) : QColor(60, 30, 30));
            painter.drawEllipse(QRectF(pitch * (column + 1) + (pitch - dot) / 2,
                                       pitch * (row + 1) + (pitch - dot) / 2, dot, dot));
        }
    }
    return pixmap;
}

} // namespace

QIcon VorlixWindowIcon() {
    QIcon icon;
    for (int side : {16, 32, 64, 128}) {
        icon.addPixmap(PaintIcon(side));
    }
    return icon;
}
