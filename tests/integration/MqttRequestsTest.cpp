#include "integration/MqttRequests.h"

#include "datasources/DisplayDataSourceType.h"
#include "rows/DisplaySession.h"
#include "support/ConfigurationDir.h"

#include <gtest/gtest.h>

namespace {

class MqttRequestsTest : public ::testing::Test {
protected:
    MqttRequestsTest() {
        config.AddSource("Counter", DisplayDataSourceType_REST, 0, "");
        config.Write();
        session.Start();
    }

    ConfigurationDir config;
    TDisplaySession session{config.Path(), [](const std::string&, const std::string&) {}};
    TSessionOperations operations{session};
    TMqttTopics topics{"vorlix"};
    TMqttRequests requests{topics, operations};
};

// A text message is taken as it is: its size is the message's, not that of a JSON text made of it.
TEST_F(MqttRequestsTest, ATextMessageUpToTheLimitIsTakenWhateverItsCharacters) {
    const std::string quotes(40000, '"');
    EXPECT_EQ(requests.Carry("vorlix/sources/Counter/set", quotes).Kind, TOutcome::Done);
    EXPECT_EQ(operations.Source("Counter").Document["lines"], nlohmann::ordered_json::array({quotes}));

    const TOutcome notText = requests.Carry("vorlix/sources/Counter/set", "\xff");
    EXPECT_EQ(notText.Kind, TOutcome::Invalid);
    EXPECT_EQ(notText.Reason, "The message is not UTF-8 text");
    EXPECT_EQ(requests.Carry("vorlix/sources/Counter/get", "1").Kind, TOutcome::Done);
}

} // namespace
