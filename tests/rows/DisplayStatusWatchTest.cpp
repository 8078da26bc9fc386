#include "rows/DisplayStatusWatch.h"

#include "clients/DisplayClient.h"

#include <gtest/gtest.h>

namespace {

// A client whose connection the test makes and breaks.
class ScriptedClient : public TDisplayClientBase {
public:
    explicit ScriptedClient(TDisplayType type) : TDisplayClientBase("ScriptedClient", type, "Hall", false) {}

    void Connected() { NoteConnectionEstablished(); }
    void Fail(const std::string& why) { LogError(why); }
};

TEST(DisplayStatusWatchTest, FollowsTheClientFromOfflineToFailedToSending) {
    ScriptedClient client(DisplayType_Vorlix3Ip);
    TDisplayStatusWatch watch(&client);
    EXPECT_EQ(watch.State(true), TDisplayState::Offline);

    client.ThreadStart();
    EXPECT_EQ(watch.State(true), TDisplayState::Connecting);
    client.Fail("Connection refused");
    EXPECT_EQ(watch.State(true), TDisplayState::Failed);
    EXPECT_EQ(watch.LastError(), "Connection refused");

    client.Connected();
    EXPECT_EQ(watch.State(true), TDisplayState::Paused) << "a connection outdates the error";
    EXPECT_EQ(watch.State(false), TDisplayState::Sending);
    client.Fail("Broken pipe");
    EXPECT_EQ(watch.State(false), TDisplayState::Failed);

    client.ThreadSuspend();
    EXPECT_EQ(watch.State(false), TDisplayState::Offline);
    EXPECT_EQ(watch.LastError(), "");
    client.ThreadStart();
    EXPECT_EQ(watch.State(false), TDisplayState::Sending) << "the old error is forgotten";
}

TEST(DisplayStatusWatchTest, ADebugDisplayNeedsNoConnectionAndNoClientIsOffline) {
    ScriptedClient debug(DisplayType_Debug);
    debug.ThreadStart();
    EXPECT_EQ(TDisplayStatusWatch(&debug).State(false), TDisplayState::Sending);
    EXPECT_EQ(TDisplayStatusWatch(nullptr).State(false), TDisplayState::Offline);
}

TEST(DisplayStatusWatchTest, StopsListeningWhenItGoes) {
    ScriptedClient client(DisplayType_Vorlix3Ip);
    { TDisplayStatusWatch watch(&client); }
    // Under AddressSanitizer a call into the destroyed watch fails here.
    client.Fail("after the watch");
}

} // namespace
