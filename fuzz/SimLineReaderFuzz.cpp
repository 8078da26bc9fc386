// The virtual display's line reader: bytes in pieces of any size give non-empty lines without
// line ends, none longer than the limit.

#include "FuzzCheck.h"

#include "simulator/SimLineReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte sets how the rest arrives: in pieces of 1 to 256 bytes.
    const std::size_t piece = std::size_t{data[0]} + 1;
    const std::string_view bytes = InputText(data + 1, size - 1);
    TSimLineReader reader;
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
        for (const std::string& line : reader.Feed(bytes.substr(at, piece))) {
            FuzzCheck(!line.empty(), "no empty line");
            FuzzCheck(line.size() <= TSimLineReader::MaxLineLength, "no line beyond the limit");
            FuzzCheck(line.find_first_of("\r\n") == std::string::npos, "no line end inside a line");
        }
    }
    return 0;
}
