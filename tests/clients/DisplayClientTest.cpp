#include "clients/DisplayClient.h"

#include "ClientTestSupport.h"
#include "datasources/DisplayBase.h"
#include "support/TestClock.h"

#include <gtest/gtest.h>

namespace {

using clienttest::TExactSource;
using clienttest::TTestSource;

// The base with its protected parts in reach.
class TProbeClient final : public TDisplayClientBase {
public:
    explicit TProbeClient(bool runningFromStart = false)
        : TDisplayClientBase("TProbeClient", DisplayType_Debug, "Probe", runningFromStart) {
        StartWorker();
    }
    ~TProbeClient() override { StopWorker(); }
    TConnectionStatus ConnectionStatus() const override { return {}; }
    using TDisplayClientBase::ResolveVariables;
    using TDisplayClientBase::SubscribeVariable;
};

TEST(DisplayClientFactory, CreatesTheClientOfEachDisplayTypeRunningAsAsked) {
    const struct {
        TDisplayType type;
        const char* settings;
        const char* expectedClass; // nullptr: no client
        bool runningWhenAskedNotTo;
    } cases[] = {
        {DisplayType_Debug, "", "TDisplayClientDebug", true},
        {DisplayType_Vorlix2Com, "1", nullptr, false},
        {DisplayType_Vorlix2Ip, "127.0.0.1:1", nullptr, false},
        {DisplayType_Vorlix3Com, "/nonexistent/tty", "TDisplayClientVorlix3COM", false},
        {DisplayType_Vorlix3Ip, "127.0.0.1:1", "TDisplayClientVorlixTCPIP", false},
    };
    for (const auto& c : cases) {
        for (const bool running : {false, true}) {
            const TDisplayBase description("Hall", "", c.settings, c.type);
            const auto client = TDisplayClientBase::CreateClient(description, running);
            if (!c.expectedClass) {
                EXPECT_EQ(client, nullptr) << c.type;
                continue;
            }
            ASSERT_NE(client, nullptr) << c.type;
            EXPECT_EQ(client->GetLogSourceName(), c.expectedClass);
            EXPECT_EQ(client->Name(), "Hall");
            EXPECT_EQ(client->DisplayType(), c.type);
            EXPECT_EQ(client->IsRunning(), running || c.runningWhenAskedNotTo) << c.expectedClass;
            EXPECT_EQ(client->ClientMode(), TDisplayClientBase::ClientMode_Automatic);
            EXPECT_EQ(client->SoftwareVersion(), "N/A");
            EXPECT_EQ(client->ConnectionCount(), 0u);
        }
    }
}

TEST(DisplayClientBase, ReinitializeKeepsTheRunningState) {
    for (const bool running : {false, true}) {
        TProbeClient client(running);
        client.Reinitialize("[A]");
        EXPECT_EQ(client.IsRunning(), running);
        client.ThreadStart();
        EXPECT_TRUE(client.IsRunning());
        client.ThreadSuspend();
        EXPECT_FALSE(client.IsRunning());
    }
}

TEST(DisplayClientBase, SetDisplayConfigKeepsTheSettingsText) {
    TProbeClient client;
    EXPECT_EQ(client.BaseConfiguration(), "");
    EXPECT_TRUE(client.SetDisplayConfig("COM settings"));
    EXPECT_EQ(client.BaseConfiguration(), "COM settings");
}

TEST(DisplayClientBase, ResolveVariablesReplacesEveryReferenceByItsValueOrNothing) {
    TProbeClient client;
    client.SetClientMode(TDisplayClientBase::ClientMode_PushConfigstrings);
    client.UpdateVariables(TExactSource("Temp", "21"));
    client.UpdateVariables(TExactSource("Outer", "<[Temp]>"));
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"-t\"[Temp]\"", "-t\"21\""},     {"[Temp] and [Temp]", "21 and 21"},
        {"-t\"[Unknown]\"", "-t\"\""},    {"[Outer]", "<21>"},
        {"no reference", "no reference"}, {"a ] before [Temp]", "a ] before [Temp]"},
        {"[Temp] [open", "21 [open"},     {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(client.ResolveVariables(c.text), c.expected) << c.text;
    }
}

TEST(DisplayClientBase, ResolveVariablesLogsAReferenceCycleOnce) {
    TProbeClient client;
    clienttest::TLogRecorder log;
    client.SetOnLogMessage(log.Handler());
    client.SetClientMode(TDisplayClientBase::ClientMode_PushConfigstrings);
    client.UpdateVariables(TExactSource("Rec", "[Rec]"));
    for (int turn = 0; turn < 3; ++turn) {
        EXPECT_EQ(client.ResolveVariables("-t\"[Rec]\""), "-t\"\"");
    }
    EXPECT_EQ(log.Count(FormatLogText(LogType_Error, "Reference cycle in [Rec]")), 1u);
}

TEST(DisplayClientBase, PushModeFilesEverySourceAndAutomaticModeOnlyTheListedOnes) {
    const TTestSource temp("Temp", {"21"});
    const TTestSource time("Time", {"12:00"});
    const struct {
        TDisplayClientBase::TClientMode mode;
        const char* expected;
    } cases[] = {
        {TDisplayClientBase::ClientMode_PushConfigstrings, "21\r\n/12:00\r\n"},
        {TDisplayClientBase::ClientMode_Automatic, "/12:00\r\n"},
    };
    for (const auto& c : cases) {
        TProbeClient client;
        client.SetClientMode(c.mode);
        client.SubscribeVariable("[Time]");
        client.UpdateVariables(temp);
        client.UpdateVariables(time);
        EXPECT_EQ(client.ResolveVariables("[Temp]/[Time]"), c.expected) << c.mode;
    }
}

TEST(DisplayClientBase, VariableIndexViewShowsEachLineForItsTimeAndStopsAfterOneRound) {
    TestClock clock;
    TDisplayClientBase::TVariableIndexView view;
    view.Timeout = 1000;
    using Lines = std::vector<std::string>;
    const struct {
        std::int64_t advance;
        Lines lines;
        const char* expected;
    } steps[] = {
        {0, {"A", "B"}, "A"},         // the first line first
        {1000, {"A", "B"}, "A"},      // not yet: the time must be exceeded
        {1, {"A", "B"}, "B"},         //
        {1001, {"A", "B"}, "A"},      // and round again
        {1001, {"A", "A", "B"}, "B"}, // lines equal to the one shown are skipped
        {0, {"C", "D"}, "C"},         // the value shrank below the index: back to the first line
        {1001, {"C", "C"}, "C"},      // nothing else to show: one round, then stay
        {1001, {"E", "F", "G"}, "E"}, // a new value shows its line at the current index
    };
    for (const auto& step : steps) {
        clock.Advance(step.advance);
        EXPECT_EQ(view.CurrentLine(step.lines), step.expected) << "after " << step.advance;
        EXPECT_TRUE(view.TimerEnabled);
    }
}

TEST(DisplayClientBase, VariableIndexViewIsTimedOnlyWhileEnabled) {
    TestClock clock;
    TDisplayClientBase::TVariableIndexView view;
    view.Timeout = 70000; // wider than 16 bits
    clock.Advance(70001);
    EXPECT_FALSE(view.IsTimed());
    view.TimerEnabled = true;
    EXPECT_TRUE(view.IsTimed());
    view.Reset();
    EXPECT_FALSE(view.IsTimed());
}

} // namespace
