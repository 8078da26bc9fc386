#include "simulator/SimPng.h"

#include "platform/TextFile.h"
#include "platform/VorlixError.h"

#include <zlib.h>

#include <cstdint>

namespace {

void AppendBigEndian(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out += static_cast<char>(value >> shift & 0xFF);
    }
}

void AppendChunk(std::string& out, const char* type, const std::string& data) {
    AppendBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::string typed = std::string(type, 4) + data;
    out += typed;
    AppendBigEndian(out, static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(typed.data()),
                                                          static_cast<uInt>(typed.size()))));
}

// Every row behind the filter byte 0 ("none"), deflated.
std::string ImageData(const TRgbImage& image) {
    const std::size_t rowBytes = static_cast<std::size_t>(image.Width) * 3;
    std::string raw;
    raw.reserve((rowBytes + 1) * static_cast<std::size_t>(image.Height));
    for (int y = 0; y < image.Height; ++y) {
        raw += '\0';
        raw.append(reinterpret_cast<const char*>(&image.Pixels[static_cast<std::size_t>(y) * rowBytes]),
                   rowBytes);
    }
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::string deflated(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(deflated.data()), &size,
                  reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()),
                  Z_BEST_COMPRESSION) != Z_OK) {
        throw EVorlixError("Cannot compress the picture");
    }
    deflated.resize(size);
    return deflated;
}

} // namespace

std::string EncodePng(const TRgbImage& image) {
    std::string png("\x89PNG\r\n\x1a\n", 8);
    std::string header;
    AppendBigEndian(header, static_cast<std::uint32_t>(image.Width));
    AppendBigEndian(header, static_cast<std::uint32_t>(image.Height));
    header += std::string("\x08\x02\x00\x00\x00", 5); // 8 bits, RGB, deflate, no filter choice, no interlace
    AppendChunk(png, "IHDR", header);
    AppendChunk(png, "IDAT", ImageData(image));
    AppendChunk(png, "IEND", "");
    return png;
}

void WritePng(const std::filesystem::path& path, const TRgbImage& image) {
    ReplaceFile(path, EncodePng(image));
}
