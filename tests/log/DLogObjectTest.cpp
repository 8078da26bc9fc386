#include "log/DLogObject.h"

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace {

class TLogger : public TDLogObject {
public:
    TLogger() : TDLogObject("TLogger") {}
    using TDLogObject::Log;
    using TDLogObject::LogError;
    using TDLogObject::LogErrorFmt;
    using TDLogObject::LogInfoFmt;
    using TDLogObject::LogTraceFmt;
    using TDLogObject::LogWarning;
    using TDLogObject::LogWarningFmt;
};

using Lines = std::vector<std::pair<std::string, std::string>>;

TDLogMessage Collect(Lines& lines) {
    return [&lines](const std::string& source, const std::string& msg) { lines.emplace_back(source, msg); };
}

TEST(DLogObject, PrefixesTheLevelRightAlignedInSixCharacters) {
    TLogger logger;
    Lines lines;
    logger.SetOnLogMessage(Collect(lines));
    logger.LogError("");
    logger.LogWarning("w");
    logger.LogInfoFmt("count %d of %s", 3, "x", "surplus");
    logger.LogTraceFmt("t");
    logger.Log(LogType_Debug, "d");
    const Lines expected = {{"TLogger", " ERROR: "},
                            {"TLogger", "WARNING: w"},
                            {"TLogger", "  INFO: count 3 of x"},
                            {"TLogger", " TRACE: t"},
                            {"TLogger", " DEBUG: d"}};
    EXPECT_EQ(lines, expected);
}

struct ParseCase {
    std::string Text;
    std::optional<TDLogType> Level;
    std::string Message;
};

class ParseLogTextTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseLogTextTest, ReadsBackWhatFormatLogTextWrote) {
    const std::optional<TLogText> parsed = ParseLogText(GetParam().Text);
    ASSERT_EQ(parsed.has_value(), GetParam().Level.has_value());
    if (parsed) {
        EXPECT_EQ(parsed->Level, *GetParam().Level);
        EXPECT_EQ(parsed->Message, GetParam().Message);
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, ParseLogTextTest,
                         ::testing::Values(ParseCase{" ERROR: a: b", LogType_Error, "a: b"},
                                           ParseCase{"WARNING: w", LogType_Warning, "w"},
                                           ParseCase{"  INFO: ", LogType_Info, ""},
                                           ParseCase{" TRACE: t", LogType_Trace, "t"},
                                           ParseCase{" DEBUG: d", LogType_Debug, "d"},
                                           ParseCase{"ERROR: too short", std::nullopt, ""},
                                           ParseCase{"   ERROR: too long", std::nullopt, ""},
                                           ParseCase{"Saved data to directory \"x\"", std::nullopt, ""},
                                           ParseCase{"Error while saving: x", std::nullopt, ""}));

TEST(DLogObject, QueuesUntilAHandlerIsAttachedThenDeliversOldestFirst) {
    TLogger logger;
    logger.LogError("first");
    logger.LogWarningFmt("second %s", "b");
    Lines lines;
    logger.SetOnLogMessage(Collect(lines));
    logger.LogError("third");
    const Lines expected = {
        {"TLogger", " ERROR: first"}, {"TLogger", "WARNING: second b"}, {"TLogger", " ERROR: third"}};
    EXPECT_EQ(lines, expected);

    Lines again;
    logger.SetOnLogMessage(Collect(again));
    EXPECT_TRUE(again.empty()) << "the queue is empty once delivered";
}

TEST(DLogObject, RelogHandlerGetsLevelAndRawMessage) {
    TLogger logger;
    std::vector<std::tuple<TDLogType, std::string, std::string>> raw;
    logger.SetOnRelogMessage([&raw](TDLogType type, const std::string& source, const std::string& msg) {
        raw.emplace_back(type, source, msg);
    });
    logger.LogWarning("careful");
    ASSERT_EQ(raw.size(), 1u);
    EXPECT_EQ(raw[0], std::make_tuple(LogType_Warning, std::string("TLogger"), std::string("careful")));
}

TEST(DLogObject, QueueKeepsTheNewestMessagesWhenNobodyListens) {
    TLogger logger;
    for (std::size_t i = 0; i < TDLogObject::MaxQueuedMessages + 5; ++i) {
        logger.LogInfoFmt("%d", static_cast<int>(i));
    }
    Lines lines;
    logger.SetOnLogMessage(Collect(lines));
    ASSERT_EQ(lines.size(), TDLogObject::MaxQueuedMessages);
    EXPECT_EQ(lines.front().second, "  INFO: 5");
    EXPECT_EQ(lines.back().second,
              SprintF("  INFO: %d", static_cast<int>(TDLogObject::MaxQueuedMessages + 4)));
}

// A worker logs without pause while the main thread attaches the handler: every message
// arrives exactly once and in the order it was logged. (Fewer messages than the queue holds.)
TEST(DLogObject, AttachingWhileAnotherThreadLogsLosesNothing) {
    constexpr int Count = static_cast<int>(TDLogObject::MaxQueuedMessages);
    TLogger logger;
    std::atomic<bool> started{false};
    std::thread worker([&] {
        for (int i = 0; i < Count; ++i) {
            logger.LogInfoFmt("%d", i);
            if (i == 100) {
                started = true;
            }
        }
    });
    while (!started) {
        std::this_thread::yield();
    }
    Lines lines;
    logger.SetOnLogMessage(Collect(lines));
    worker.join();
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(Count));
    for (int i = 0; i < Count; ++i) {
        ASSERT_EQ(lines[static_cast<std::size_t>(i)].second, SprintF("  INFO: %d", i));
    }
}

} // namespace
