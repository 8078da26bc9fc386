#pragma once

#include <QString>

class QLabel;
class QWidget;

// The red caption bar above the row list and the data-source list, 24 pixels high.
QWidget* NewHeaderBar(QWidget* parent);
// A bold caption in light text for such a bar, `width` pixels wide (0: as wide as its text).
QLabel* NewHeaderLabel(const QString& text, int pixelSize, int width, QWidget* parent);
