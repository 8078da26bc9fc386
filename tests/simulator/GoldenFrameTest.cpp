#include "simulator/SimDisplay.h"

#include "platform/Encoding.h"
#include "platform/TextFile.h"
#include "support/TestClock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

// Each file in golden/ is a script for a fresh virtual display:
//   width N         the display's width (first line after the comments)
//   > LINE          a command line, UTF-8 in the file, sent as Latin-1 bytes like the TCP client
//   at MS           moves the clock to MS milliseconds after the start
//   frame           followed by 16 rows the display must show now ('.', 'R', 'G', 'Y')
namespace {

const std::filesystem::path GoldenDirectory = std::filesystem::path(__FILE__).parent_path() / "golden";

std::vector<std::string> GoldenFiles() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(GoldenDirectory)) {
        names.push_back(entry.path().filename().string());
    }
    std::ranges::sort(names);
    return names;
}

class GoldenFrameTest : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenFrameTest, ShowsTheExpectedFrames) {
    std::istringstream script(ReadFileBytes(GoldenDirectory / GetParam()));
    TestClock clock;
    std::int64_t elapsedMs = 0;
    std::unique_ptr<TSimDisplay> display;
    int frames = 0;
    std::string line;
    while (std::getline(script, line)) {
        if (line.starts_with("width ")) {
            display = std::make_unique<TSimDisplay>(std::stoi(line.substr(6)), clock);
        } else if (line.starts_with("> ")) {
            ASSERT_NE(display, nullptr) << "width first";
            display->Execute(Utf8ToLatin1(line.substr(2)));
        } else if (line.starts_with("at ")) {
            const std::int64_t at = std::stoll(line.substr(3));
            clock.Advance(at - elapsedMs);
            elapsedMs = at;
        } else if (line == "frame") {
            ASSERT_NE(display, nullptr) << "width first";
            std::string expected;
            for (int row = 0; row < TSimFrame::Height && std::getline(script, line); ++row) {
                expected += line + '\n';
            }
            EXPECT_EQ(display->Frame().ToText(), expected) << "frame " << frames + 1;
            ++frames;
        }
    }
    EXPECT_GT(frames, 0);
}

INSTANTIATE_TEST_SUITE_P(Scripts, GoldenFrameTest, ::testing::ValuesIn(GoldenFiles()), [](const auto& info) {
    std::string name = info.param.substr(0, info.param.find('.'));
    std::ranges::replace_if(
        name, [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return name;
});

} // namespace
