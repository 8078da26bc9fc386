#include "simulator/SimImage.h"

#include <gtest/gtest.h>

namespace {

TRgb PixelAt(const TRgbImage& image, int x, int y) {
    const std::uint8_t* pixel = &image.Pixels[static_cast<std::size_t>(y * image.Width + x) * 3];
    return {pixel[0], pixel[1], pixel[2]};
}

TEST(SimImageTest, DrawsRoundLedsOnBlack) {
    TSimFrame frame(64);
    frame.Set(0, 0, TLedColor::Red);
    frame.Set(63, 15, TLedColor::Yellow);
    frame.Set(1, 0, TLedColor::Green);
    const TRgbImage image = RenderLeds(frame, 100, 8);
    ASSERT_EQ(image.Width, 512);
    ASSERT_EQ(image.Height, 128);
    EXPECT_EQ(PixelAt(image, 4, 4), LedRgb(TLedColor::Red, 100));
    EXPECT_EQ(PixelAt(image, 12, 4), LedRgb(TLedColor::Green, 100));
    EXPECT_EQ(PixelAt(image, 63 * 8 + 4, 15 * 8 + 4), LedRgb(TLedColor::Yellow, 100));
    EXPECT_EQ(PixelAt(image, 20, 4), LedRgb(TLedColor::Off, 100)) << "a dark LED still shows";
    EXPECT_EQ(PixelAt(image, 0, 0), (TRgb{0, 0, 0})) << "the corners between LEDs are black";
}

TEST(SimImageTest, BrightnessDimsLitLedsOnly) {
    const TRgb full = LedRgb(TLedColor::Red, 100);
    const TRgb half = LedRgb(TLedColor::Red, 50);
    const TRgb lowest = LedRgb(TLedColor::Red, 0);
    EXPECT_GT(full.R, half.R);
    EXPECT_GT(half.R, lowest.R);
    EXPECT_GT(lowest.R, 0) << "still visible";
    EXPECT_EQ(LedRgb(TLedColor::Off, 0), LedRgb(TLedColor::Off, 100));
    EXPECT_EQ(LedRgb(TLedColor::Green, 300), LedRgb(TLedColor::Green, 100));
}

} // namespace
