#include "rows/RowSendCycle.h"

#include "clients/DisplayClient.h"
#include "config/VDisplay.h"
#include "support/TestClock.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Records what the cycle sends; refuses while "disconnected".
class RecordingClient : public TDisplayClientBase {
public:
    RecordingClient() : TDisplayClientBase("RecordingClient", DisplayType_Debug, "Hall", false) { Connect(); }

    bool SendConfigString(const std::string& configstring) override {
        if (!Connected) {
            return false;
        }
        Sent.push_back(configstring);
        return true;
    }
    TConnectionStatus ConnectionStatus() const override {
        return {Connected ? TConnectionState::Connected : TConnectionState::Off, {}, {}};
    }
    void Connect() {
        Connected = true;
        NoteConnectionEstablished();
    }

    bool Connected = false;
    std::vector<std::string> Sent;
};

std::unique_ptr<TConfigurationRow> Row(const std::string& text, std::uint32_t timeout = 1000,
                                       std::uint8_t size = TCBFontSize_Large) {
    return std::make_unique<TConfigurationRow>(text, size, TCBFontAlign_Left, TCBColor_None, TCBColor_Red,
                                               timeout);
}

std::string Shown(const std::string& text) {
    return "-sc0 -sg0,0,64,16 -f1 -cb0 -cf1 -sad0 -nss0 -t\"" + text + "\"  ";
}

class RowSendCycleTest : public ::testing::Test {
protected:
    RowSendCycleTest() {
        display.SetWidth(64);
        display.SetBrightness(50);
        cycle.SetOnLogMessage(
            [this](const std::string& source, const std::string& msg) { log.push_back(source + "|" + msg); });
    }

    // Ticks every 100 ms for `msecs`.
    void Run(std::int64_t msecs) {
        for (std::int64_t t = 0; t < msecs; t += 100) {
            cycle.TimSenddataTimer();
            clock.Advance(100);
        }
    }

    TestClock clock;
    TVDisplay display;
    RecordingClient client;
    bool hasDisplay = true;
    TRowSendCycle cycle{"Hall", [this] { return hasDisplay ? &display : nullptr; },
                        [this] { return &client; }, clock};
    std::vector<std::string> log;
};

TEST_F(RowSendCycleTest, FirstTickSendsTheBrightnessThenRowZeroAndRepeatsOnlyTheRow) {
    cycle.AddRow(Row("A"));
    cycle.SetPause(false);
    cycle.TimSenddataTimer();
    EXPECT_EQ(client.Sent, (std::vector<std::string>{"-i50", Shown("A")}));
    EXPECT_EQ(log, (std::vector<std::string>{"Hall|(1000)" + Shown("A")}));

    clock.Advance(1000);
    cycle.TimSenddataTimer();
    EXPECT_EQ(client.Sent.size(), 2u) << "exactly 1000 ms later the row still stands";
    clock.Advance(100);
    cycle.TimSenddataTimer();
    EXPECT_EQ(client.Sent, (std::vector<std::string>{"-i50", Shown("A"), Shown("A")}));

    display.SetBrightness(80);
    clock.Advance(1100);
    cycle.TimSenddataTimer();
    EXPECT_EQ(client.Sent, (std::vector<std::string>{"-i50", Shown("A"), Shown("A"), "-i80", Shown("A")}));
}

TEST_F(RowSendCycleTest, ShowsRowsInTurnAndMarksTheOneOnTheDisplay) {
    std::vector<std::string> marks;
    for (const char* text : {"A", "B", "C"}) {
        auto& row = cycle.AddRow(Row(text));
        row.SetOnMarkedChanged(
            [&marks, text](bool marked) { marks.push_back((marked ? "+" : "-") + std::string(text)); });
    }
    cycle.SetPause(false);
    Run(4000);
    EXPECT_EQ(client.Sent,
              (std::vector<std::string>{"-i50", Shown("A"), Shown("B"), Shown("C"), Shown("A")}));
    EXPECT_EQ(marks, (std::vector<std::string>{"+A", "-A", "+B", "-B", "+C", "-C", "+A"}));
}

TEST_F(RowSendCycleTest, PausedCycleSendsNothing) {
    cycle.AddRow(Row("A", 0));
    Run(1000);
    EXPECT_TRUE(client.Sent.empty());
    EXPECT_TRUE(log.empty());
}

TEST_F(RowSendCycleTest, ClearsTheDisplayOnceWhenTheLastRowIsGone) {
    cycle.AddRow(Row("A"));
    cycle.SetPause(false);
    cycle.TimSenddataTimer();
    cycle.DeleteRow(0);
    Run(5000);
    EXPECT_EQ(client.Sent, (std::vector<std::string>{"-i50", Shown("A"), "-dac"}));
}

TEST_F(RowSendCycleTest, WithoutADisplayRecordSendsAt64PixelsWithoutBrightness) {
    hasDisplay = false;
    cycle.AddRow(Row("A"));
    cycle.SetPause(false);
    cycle.TimSenddataTimer();
    EXPECT_EQ(client.Sent, (std::vector<std::string>{Shown("A")}));
}

TEST_F(RowSendCycleTest, ShowsEveryRowOfALongList) {
    constexpr int Count = 300;
    for (int i = 0; i < Count; ++i) {
        cycle.AddRow(Row(std::to_string(i), 0));
    }
    cycle.SetPause(false);
    Run(100 * (Count + 1));
    ASSERT_EQ(client.Sent.size(), static_cast<std::size_t>(Count + 2));
    EXPECT_EQ(client.Sent[Count], Shown(std::to_string(Count - 1)));
    EXPECT_EQ(client.Sent[Count + 1], Shown("0")) << "wraps to the first row";
}

TEST_F(RowSendCycleTest, RestoresTheDisplayAfterAReconnection) {
    cycle.AddRow(Row("Small", 60000, TCBFontSize_Small_Upper));
    cycle.SetPause(false);
    cycle.TimSenddataTimer();
    const std::string small = "-sc1 -sg0,0,64,8 -f0 -cb0 -cf1 -sad0 -nss0 -t\"Small\"  ";
    EXPECT_EQ(client.Sent, (std::vector<std::string>{"-i50", small}));

    client.Connected = false;
    Run(1000);
    client.Connect();
    Run(1000);
    EXPECT_EQ(client.Sent, (std::vector<std::string>{"-i50", small, "-i50", small}))
        << "brightness and the current row again, once, without advancing";
    EXPECT_NEAR(cycle.GaugeValue(), 58.0, 0.2) << "the row's display time goes on";
}

TEST_F(RowSendCycleTest, ARowRefusedBeforeTheFirstConnectionGoesOutWhenItComes) {
    client.Connected = false;
    cycle.AddRow(Row("A", 60000));
    cycle.SetPause(false);
    Run(500);
    EXPECT_TRUE(client.Sent.empty());
    client.Connect();
    Run(200);
    EXPECT_EQ(client.Sent, (std::vector<std::string>{"-i50", Shown("A")}));
}

TEST_F(RowSendCycleTest, GaugeCountsDownAndItsScaleFollowsTheLongestRow) {
    const struct {
        std::uint32_t longest;
        int maximum;
        int divisions;
    } cases[] = {{0, 0, 5},    {1000, 2, 2},  {1500, 2, 2},   {2500, 2, 2},
                 {7000, 8, 4}, {9000, 10, 5}, {12000, 12, 4}, {60000, 60, 5}};
    for (const auto& c : cases) {
        TRowSendCycle scaled(
            "X", [] { return nullptr; }, [] { return nullptr; }, clock);
        scaled.AddRow(Row("short", 500));
        if (c.longest > 0) {
            scaled.AddRow(Row("long", c.longest));
        } else {
            scaled.DeleteRow(0);
        }
        scaled.RefreshGaugeScale();
        EXPECT_EQ(scaled.GaugeMaximum(), c.maximum) << c.longest;
        EXPECT_EQ(scaled.GaugeDivisions(), c.divisions) << c.longest;
    }

    cycle.AddRow(Row("A", 2500));
    cycle.SetPause(false);
    cycle.TimSenddataTimer();
    clock.Advance(1000);
    cycle.TimSenddataTimer();
    EXPECT_DOUBLE_EQ(cycle.GaugeValue(), 1.5);
}

} // namespace

namespace {

TEST_F(RowSendCycleTest, NotificationsInterruptInOrderAndTheInterruptedRowComesBack) {
    std::vector<std::string> marks;
    auto& row = cycle.AddRow(Row("A", 5000));
    row.SetOnMarkedChanged([&marks](bool marked) { marks.push_back(marked ? "+A" : "-A"); });
    cycle.SetPause(false);
    Run(1000);
    EXPECT_TRUE(cycle.Notify(Row("N1", 300)));
    EXPECT_TRUE(cycle.Notify(Row("N2", 200)));
    EXPECT_EQ(cycle.State().Notifications, 2u);
    EXPECT_FALSE(cycle.State().RowIndex) << "a notification shows";
    Run(1000);
    EXPECT_EQ(client.Sent,
              (std::vector<std::string>{"-i50", Shown("A"), Shown("N1"), Shown("N2"), Shown("A")}));
    EXPECT_EQ(marks, (std::vector<std::string>{"+A", "-A", "+A"}));
    const TRowSendCycle::TState state = cycle.State();
    EXPECT_EQ(state.RowIndex, 0u);
    EXPECT_EQ(state.Command, Shown("A"));
    EXPECT_EQ(state.RowsSent, 4u);
    EXPECT_EQ(state.Notifications, 0u);
}

TEST_F(RowSendCycleTest, KeepsAtMostEightNotificationsAndRepeatsTheOneShowingAfterAReconnection) {
    cycle.SetPause(false);
    for (std::size_t i = 0; i < TRowSendCycle::MaxNotifications; ++i) {
        EXPECT_TRUE(cycle.Notify(Row("N", 1000)));
    }
    EXPECT_FALSE(cycle.Notify(Row("N", 1000)));
    client.Connected = false;
    cycle.TimSenddataTimer();
    client.Connect();
    cycle.TimSenddataTimer();
    EXPECT_EQ(client.Sent, (std::vector<std::string>{"-i50", Shown("N"), "-i50", Shown("N")}));
    EXPECT_EQ(cycle.State().SendFailures, 0u);
}

TEST_F(RowSendCycleTest, AChangedValueIsShownAgainOnlyByTheStillRowThatShowsIt) {
    struct TCase {
        std::string Text;
        bool Parameter;
        std::uint8_t Scroll;
        bool Resent;
    };
    const std::vector<TCase> cases = {
        {"Counter", true, 0, true},     {"Visitors: [Counter] now", false, 0, true},
        {"Counter", false, 0, false},   {"Counters", true, 0, false},
        {"[Counter]", false, 3, false},
    };
    for (const TCase& test : cases) {
        TRowSendCycle::TRows rows;
        rows.push_back(Row(test.Text, 10000));
        rows.back()->TextIsParameter = test.Parameter;
        rows.back()->SetScrollspeed(test.Scroll);
        cycle.ReplaceRows(std::move(rows));
        cycle.SetPause(false);
        Run(200);
        client.Sent.clear();
        cycle.ShowChangedValue("Counter");
        EXPECT_EQ(client.Sent.size(), test.Resent ? 1u : 0u) << test.Text;
        const double gauge = cycle.GaugeValue();
        Run(100);
        EXPECT_LT(cycle.GaugeValue(), gauge) << "the display time runs on";
        cycle.SetPause(true);
        cycle.ShowChangedValue("Counter");
        EXPECT_EQ(client.Sent.size(), test.Resent ? 1u : 0u) << "a paused display keeps what it shows";
    }
}

TEST_F(RowSendCycleTest, ReportsEveryStringTheClientTookWithTheRowItShows) {
    std::vector<std::string> reported;
    cycle.SetOnSent([&](const std::string& configString, const TConfigurationRow* row) {
        reported.push_back((row != nullptr ? row->Text + "|" : std::string("-|")) + configString);
    });
    cycle.AddRow(Row("A"));
    client.Connected = false;
    cycle.SetPause(false);
    cycle.TimSenddataTimer();
    EXPECT_TRUE(reported.empty()) << "what the display did not take is not reported";

    client.Connect();
    clock.Advance(100);
    cycle.TimSenddataTimer();
    EXPECT_EQ(reported, (std::vector<std::string>{"-|-i50", "A|" + Shown("A")}));
}

TEST_F(RowSendCycleTest, ADeletedRowCanBePutBackWhereItWas) {
    for (const char* text : {"A", "B", "C"}) {
        cycle.AddRow(Row(text));
    }
    std::unique_ptr<TConfigurationRow> taken = cycle.DeleteRow(1);
    ASSERT_NE(taken, nullptr);
    EXPECT_EQ(taken->Text, "B");
    EXPECT_EQ(cycle.DeleteRow(5), nullptr);
    cycle.InsertRow(1, std::move(taken));
    cycle.InsertRow(99, Row("D"));
    std::vector<std::string> texts;
    for (const auto& row : cycle.Rows()) {
        texts.push_back(row->Text);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"A", "B", "C", "D"}));
}

} // namespace
