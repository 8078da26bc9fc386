#include "simulator/SimArea.h"

#include "simulator/SimFont.h"

#include <algorithm>

namespace {

constexpr std::int64_t BlinkHalfPeriodMs = 500;
// A text scrolls this many pixels a second per step of its scroll speed.
constexpr std::int64_t ScrollPixelsPerSecondPerStep = 4;

struct TClip {
    int Left, Top, Right, Bottom; // right and bottom exclusive

    bool Empty() const { return Left >= Right || Top >= Bottom; }
    bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
};

TClip AreaRectangle(const TSimArea& area, const TSimFrame& frame) {
    const int right = area.W < 0 ? frame.Width() : area.X + area.W;
    const int bottom = area.H < 0 ? TSimFrame::Height : area.Y + area.H;
    return {std::max(area.X, 0), std::max(area.Y, 0), std::min(right, frame.Width()),
            std::min(bottom, TSimFrame::Height)};
}

// Left edge of the text relative to the area's left edge.
int TextLeft(const TSimArea& area, int areaWidth, int textWidth, std::int64_t nowMs) {
    if (textWidth > areaWidth && area.ScrollSpeed > 0) {
        // Starts readable at the left edge, leaves to the left, comes back in from the right.
        const std::int64_t moved = std::max<std::int64_t>(nowMs - area.Since, 0) *
                                   ScrollPixelsPerSecondPerStep * area.ScrollSpeed / 1000;
        return areaWidth - static_cast<int>((moved + areaWidth) % (areaWidth + textWidth));
    }
    switch (area.Align) {
    case TSimArea::Align_Right:
        return areaWidth - textWidth;
    case TSimArea::Align_Center:
        return (areaWidth - textWidth) / 2;
    default:
        return 0;
    }
}

int TextTop(const TSimArea& area, int areaHeight, int textHeight) {
    switch (area.VAlign) {
    case TSimArea::VAlign_Top:
        return 0;
    case TSimArea::VAlign_Bottom:
        return areaHeight - textHeight;
    default:
        return (areaHeight - textHeight) / 2;
    }
}

bool BlinkedOff(const TSimArea& area, std::int64_t nowMs) {
    return area.Blink && (std::max<std::int64_t>(nowMs - area.Since, 0) / BlinkHalfPeriodMs) % 2 == 1;
}

} // namespace

bool TextCutOff(const TSimArea& area, int displayWidth) {
    const TSimFrame frame(displayWidth);
    const TClip clip = AreaRectangle(area, frame);
    const TSimFont* font = DisplayFont(area.Font);
    return area.Shown && !clip.Empty() && font != nullptr && area.ScrollSpeed == 0 &&
           font->TextWidth(area.Text.size()) > clip.Right - area.X;
}

void DrawArea(const TSimArea& area, std::int64_t nowMs, TSimFrame& frame) {
    const TClip clip = AreaRectangle(area, frame);
    const TSimFont* font = DisplayFont(area.Font);
    if (!area.Shown || clip.Empty() || font == nullptr) {
        return;
    }
    for (int y = clip.Top; y < clip.Bottom; ++y) {
        for (int x = clip.Left; x < clip.Right; ++x) {
            frame.Set(x, y, area.Background);
        }
    }
    if (BlinkedOff(area, nowMs)) {
        return;
    }
    const int areaWidth = clip.Right - area.X;
    const int areaHeight = clip.Bottom - area.Y;
    const int left = area.X + TextLeft(area, areaWidth, font->TextWidth(area.Text.size()), nowMs);
    const int top = area.Y + TextTop(area, areaHeight, font->Height());
    const int advance = font->Width() + font->Spacing();
    for (std::size_t i = 0; i < area.Text.size(); ++i) {
        const int glyphLeft = left + static_cast<int>(i) * advance;
        if (glyphLeft >= clip.Right || glyphLeft + font->Width() <= clip.Left) {
            continue;
        }
        const auto code = static_cast<unsigned char>(area.Text[i]);
        for (int y = 0; y < font->Height(); ++y) {
            for (int x = 0; x < font->Width(); ++x) {
                if (font->Lit(code, x, y) && clip.Contains(glyphLeft + x, top + y)) {
                    frame.Set(glyphLeft + x, top + y, area.Foreground);
                }
            }
        }
    }
}
