#include "clients/DisplayClientDebug.h"

#include "ClientTestSupport.h"
#include "support/TestClock.h"
#include "datasources/DisplayBase.h"

#include <gtest/gtest.h>

namespace {

using clienttest::TLogRecorder;
using clienttest::TTestSource;

std::string Info(const std::string& message) {
    return FormatLogText(LogType_Info, message);
}

TEST(DisplayClientDebug, LogsTheValuesOfItsVariablesWhenOneChanges) {
    TLogRecorder log;
    TDisplayClientDebug client(TDisplayBase("Lobby", "[Temp]|[Time]", "", DisplayType_Debug));
    client.SetOnLogMessage(log.Handler());
    ASSERT_TRUE(log.WaitFor(Info("To Lobby:   |  ")));

    client.UpdateVariables(TTestSource("Temp", {"21"}));
    client.UpdateVariables(TTestSource("Time", {"12:00"}));
    ASSERT_TRUE(log.WaitFor(Info("To Lobby:  21 | 12:00 ")));

    const auto messages = log.Messages();
    EXPECT_EQ(messages.front(), Info("Create DEBUG display Lobby, subscribes on 2 variables"));
    EXPECT_EQ(log.Sources().front(), "TDisplayClientDebug");
}

TEST(DisplayClientDebug, IgnoresSourcesItDoesNotListAndValuesThatDidNotChange) {
    TLogRecorder log;
    TDisplayClientDebug client(TDisplayBase("Lobby", "[Temp]", "", DisplayType_Debug));
    client.SetOnLogMessage(log.Handler());
    ASSERT_TRUE(log.WaitFor(Info("To Lobby:   ")));

    client.UpdateVariables(TTestSource("Temp", {"21"}));
    ASSERT_TRUE(log.WaitFor(Info("To Lobby:  21 ")));
    client.UpdateVariables(TTestSource("Other", {"5"}));
    client.UpdateVariables(TTestSource("Temp", {"21"}));
    client.UpdateVariables(TTestSource("Temp", {"22", "x,\"y\""}));
    client.UpdateVariables(TTestSource("Temp", {"a,b"}));
    ASSERT_TRUE(log.WaitFor(Info("To Lobby:  \"a,b\" ")));

    for (const auto& message : log.Messages()) {
        EXPECT_EQ(message.find('5'), std::string::npos) << message;
    }
    EXPECT_EQ(log.Count(Info("To Lobby:  21 ")), 1u);
}

TEST(DisplayClientDebug, WithoutVariablesLogsNothingButItsCreation) {
    TLogRecorder log;
    {
        TDisplayClientDebug client(TDisplayBase("Empty", "", "", DisplayType_Debug));
        client.SetOnLogMessage(log.Handler());
        client.UpdateVariables(TTestSource("Temp", {"21"}));
        // Several worker cycles pass while the client is told to stop and waits for its worker.
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
    }
    EXPECT_EQ(log.Messages(),
              std::vector<std::string>{Info("Create DEBUG display Empty, subscribes on 0 variables")});
}

TEST(DisplayClientDebug, RotatesAMultiLineValueOneLineAtATime) {
    TestClock clock;
    TLogRecorder log;
    TDisplayClientDebug client(TDisplayBase("Lobby", "[Lines]|[Mark]", "", DisplayType_Debug));
    client.SetOnLogMessage(log.Handler());
    client.UpdateVariables(TTestSource("Lines", {"A", "B"}, 1000));
    ASSERT_TRUE(log.WaitFor(Info("To Lobby:  A |  ")));

    clock.Advance(1000);
    // A change elsewhere shows the view again: the line has not yet had more than its time.
    client.UpdateVariables(TTestSource("Mark", {"1"}));
    ASSERT_TRUE(log.WaitFor(Info("To Lobby:  A | 1 ")));
    clock.Advance(1);
    ASSERT_TRUE(log.WaitFor(Info("To Lobby:  B | 1 ")));
    clock.Advance(1001);
    ASSERT_TRUE(log.WaitFor(Info("To Lobby:  A | 1 "), 2));
}

TEST(DisplayClientDebug, PushedStringsOnlyRaiseTheWarning) {
    TLogRecorder log;
    TDisplayClientDebug client(TDisplayBase("Lobby", "", "", DisplayType_Debug));
    client.SetOnLogMessage(log.Handler());
    client.SetClientMode(TDisplayClientBase::ClientMode_PushConfigstrings);
    EXPECT_TRUE(client.SendConfigString("-sc0 -t\"x\""));
    EXPECT_EQ(log.Count(FormatLogText(LogType_Warning,
                                      "Displaytype DisplayType_Debug has not overriden sendconfigstring")),
              1u);
}

} // namespace
