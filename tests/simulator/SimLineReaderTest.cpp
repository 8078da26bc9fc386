#include "simulator/SimLineReader.h"

#include <gtest/gtest.h>

namespace {

struct LineCase {
    std::vector<std::string> Chunks;
    std::vector<std::string> Lines;
};

class SimLineReaderTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(SimLineReaderTest, CutsLinesAsADisplayDoes) {
    TSimLineReader reader;
    std::vector<std::string> lines;
    for (const std::string& chunk : GetParam().Chunks) {
        for (std::string& line : reader.Feed(chunk)) {
            lines.push_back(std::move(line));
        }
    }
    EXPECT_EQ(lines, GetParam().Lines);
}

INSTANTIATE_TEST_SUITE_P(Streams, SimLineReaderTest,
                         ::testing::Values(
                             // The serial client: each line and then one more carriage return.
                             LineCase{{"-dac -i100 -v\r", "-sc1 -dc\r\r-sc1 -t\"A\"\r\r"},
                                      {"-dac -i100 -v", "-sc1 -dc", "-sc1 -t\"A\""}},
                             // The TCP client, with an empty line between two others.
                             LineCase{{"-dac\r\n-v\r\n\r\n-sc0"}, {"-dac", "-v"}},
                             // Terminators split across reads.
                             LineCase{{"-d", "ac\r", "\n-v", "\r", "\n"}, {"-dac", "-v"}},
                             LineCase{{"typed\nby hand\n"}, {"typed", "by hand"}},
                             LineCase{{"a\n\rb\r"}, {"a", "b"}},
                             LineCase{{std::string(5000, 'x') + "\r-v\r"},
                                      {std::string(TSimLineReader::MaxLineLength, 'x'), "-v"}},
                             LineCase{{std::string("-t\"a\0b\"\r", 8)}, {std::string("-t\"a\0b\"", 7)}}));

} // namespace
