#pragma once

#include "simulator/SimDisplay.h"
#include "simulator/SimFrame.h"

#include <QWidget>

#include <memory>

// A virtual display drawn as LEDs: the simulator's display state, fed with command lines, and its
// frame rendered as round LEDs as large as the widget's width allows. Refresh() redraws it when
// the frame has changed, so scrolling and blinking move at the pace it is called.
class TLedDisplayView : public QWidget {
public:
    static constexpr int MaxZoom = 6;

    explicit TLedDisplayView(QWidget* parent = nullptr);

    TSimDisplay& Display() { return *FDisplay; }
    // A display of another width starts empty; the same width keeps what it shows.
    void SetDisplayWidth(int width);
    void Refresh();
    // What the view shows now, as of the last Refresh().
    const TSimFrame& Frame() const { return FFrame; }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int ZoomFor(int width) const;

    std::unique_ptr<TSimDisplay> FDisplay;
    TSimFrame FFrame;
    int FBrightness = 100;
};
