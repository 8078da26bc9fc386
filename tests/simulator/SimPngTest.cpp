#include "simulator/SimPng.h"

#include "platform/TextFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <zlib.h>

namespace {

std::uint32_t BigEndian(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

TEST(SimPngTest, WritesAPngThatDecodesToThePixels) {
    TRgbImage image{3, 2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18}};
    const std::string png = EncodePng(image);
    ASSERT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    // Chunks: length, type, data, CRC over type and data.
    std::size_t at = 8;
    std::vector<std::string> types;
    std::string idat;
    while (at < png.size()) {
        const std::uint32_t length = BigEndian(png, at);
        const std::string typed = png.substr(at + 4, 4 + length);
        EXPECT_EQ(BigEndian(png, at + 8 + length),
                  crc32(0, reinterpret_cast<const Bytef*>(typed.data()), static_cast<uInt>(typed.size())));
        types.push_back(typed.substr(0, 4));
        if (types.back() == "IHDR") {
            EXPECT_EQ(BigEndian(typed, 4), 3u);
            EXPECT_EQ(BigEndian(typed, 8), 2u);
            EXPECT_EQ(typed.substr(12), std::string("\x08\x02\x00\x00\x00", 5));
        } else if (types.back() == "IDAT") {
            idat = typed.substr(4);
        }
        at += 12 + length;
    }
    EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
    std::string raw(2 * 10, '\0');
    uLongf size = raw.size();
    ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(raw.data()), &size,
                         reinterpret_cast<const Bytef*>(idat.data()), idat.size()),
              Z_OK);
    EXPECT_EQ(raw, std::string("\0\1\2\3\4\5\6\7\10\11\0\12\13\14\15\16\17\20\21\22", 20));
}

TEST(SimPngTest, ReplacesTheFile) {
    TempDir dir;
    dir.Write("frame.png", "old");
    const TRgbImage image = RenderLeds(TSimFrame(64), 100, 2);
    WritePng(dir / "frame.png", image);
    EXPECT_EQ(ReadFileBytes(dir / "frame.png"), EncodePng(image));
}

} // namespace
