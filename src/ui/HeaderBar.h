#pragma once

#include <QString>

class QLabel;
class QWidget;

// The red caption bar above the data-source list, as high as its caption needs.
QWidget* NewHeaderBar(QWidget* parent);
// A bold caption in light text for such a bar, in the platform's own font.
QLabel* NewHeaderLabel(const QString& text, QWidget* parent);
