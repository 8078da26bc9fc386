#include "ui/HeaderBar.h"

#include <QLabel>
#include <QPalette>
#include <QWidget>

QWidget* NewHeaderBar(QWidget* parent) {
    auto* bar = new QWidget(parent);
    bar->setMinimumHeight(24);
    bar->setAutoFillBackground(true);
    QPalette palette = bar->palette();
    palette.setColor(QPalette::Window, QColor(217, 32, 50));
    palette.setColor(QPalette::WindowText, QColor(250, 250, 250));
    bar->setPalette(palette);
    return bar;
}

QLabel* NewHeaderLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}
