#include "rows/DisplayStatusWatch.h"

#include "clients/DisplayClient.h"

#include <gtest/gtest.h>

namespace {

// A client whose connection status the test sets.
class ScriptedClient : public TDisplayClientBase {
public:
    ScriptedClient() : TDisplayClientBase("ScriptedClient", DisplayType_Vorlix3Ip, "Hall", false) {}

    TConnectionStatus ConnectionStatus() const override { return Status; }

    TConnectionStatus Status;
};

TEST(DisplayStatusWatchTest, TellsTheStateFromTheConnectionStatus) {
    struct TCase {
        TConnectionState Connection;
        std::string LastError;
        bool Paused;
        TDisplayState Expected;
    };
    const std::vector<TCase> cases = {
        {TConnectionState::Off, "", false, TDisplayState::Offline},
        {TConnectionState::Off, "Connection refused", false, TDisplayState::Offline},
        {TConnectionState::Connecting, "", false, TDisplayState::Connecting},
        {TConnectionState::Connecting, "Connection refused", false, TDisplayState::Failed},
        {TConnectionState::Retrying, "Connection refused", true, TDisplayState::Failed},
        {TConnectionState::Connected, "", true, TDisplayState::Paused},
        {TConnectionState::Connected, "", false, TDisplayState::Sending},
    };
    ScriptedClient client;
    const TDisplayStatusWatch watch(&client);
    for (const TCase& test : cases) {
        client.Status = {test.Connection, test.LastError, {}};
        EXPECT_EQ(watch.State(test.Paused), test.Expected)
            << ConnectionStateName(test.Connection) << " " << test.LastError << " " << test.Paused;
        EXPECT_EQ(watch.LastError(), test.LastError);
    }
    EXPECT_EQ(TDisplayStatusWatch(nullptr).State(false), TDisplayState::Offline);
    EXPECT_EQ(TDisplayStatusWatch(nullptr).LastError(), "");
}

} // namespace
