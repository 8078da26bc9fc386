#include "simulator/SimLineReader.h"

std::vector<std::string> TSimLineReader::Feed(std::string_view bytes) {
    std::vector<std::string> lines;
    for (const char byte : bytes) {
        if (byte == '\r' || byte == '\n') {
            if (!FLine.empty()) {
                lines.push_back(std::move(FLine));
                FLine.clear();
            }
        } else if (FLine.size() < MaxLineLength) {
            FLine += byte;
        }
    }
    return lines;
}
