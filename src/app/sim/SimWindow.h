#pragma once

#include "simulator/SimDisplay.h"

#include <QTimer>
#include <QWidget>

// Shows a virtual display as round LEDs, redrawn often enough for scrolling texts. "+" and "-"
// (or Ctrl and the mouse wheel) change the zoom.
class TSimWindow : public QWidget {
public:
    TSimWindow(const TSimDisplay& display, int zoom, const QString& title);


protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void SetZoom(int zoom);

    const TSimDisplay& FDisplay;
    int FZoom = 0;
    QTimer FRedraw;
};
