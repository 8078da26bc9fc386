#include "model/SourceTrial.h"

#include "datasources/DisplayDataSourceType.h"
#include "model/LocalViewModel.h"
#include "support/ConfigurationDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

TVDataSource Candidate(int kind, const std::string& configuration) {
    TVDataSource record;
    record.SetName("Candidate");
    record.SetDataSourceType(kind);
    record.SetConfiguration(configuration);
    return record;
}

class SourceTrialTest : public ::testing::Test {
protected:
    SourceTrialTest() {
        config.AddSource("Counter", DisplayDataSourceType_Static, TDisplayDataSourceBase::ValueType_Numeric,
                         "21");
        config.Write();
        model.LoadFromDictionary(config.Path());
        model.CollectData();
    }
    ConfigurationDir config;
    TLocalViewModel model;
};

TEST_F(SourceTrialTest, AnExpressionGivesItsResultAtOnceWithTheCurrentValues) {
    struct Case {
        std::string Expression;
        bool Failed;
        std::string Text;
    };
    const std::vector<Case> cases = {{"[Counter]*2", false, "42\r\n"}, {"[Counter]+[Counter]+1", false, "43\r\n"}};
    for (const Case& sample : cases) {
        TSourceTrial trial(Candidate(DisplayDataSourceType_Expression, sample.Expression), model);
        const auto result = trial.Poll();
        ASSERT_TRUE(result) << sample.Expression;
        EXPECT_EQ(result->Failed, sample.Failed) << sample.Expression;
        EXPECT_EQ(result->Text, sample.Text) << sample.Expression;
        EXPECT_EQ(trial.Poll()->Text, sample.Text) << "the result stays";
    }
    EXPECT_EQ(model.GetDatasourceFromCache("Candidate"), nullptr) << "the model does not get it";
}

TEST_F(SourceTrialTest, AKindWithoutValuesSaysSo) {
    TSourceTrial trial(Candidate(DisplayDataSourceType_SQL, ""), model);
    const auto result = trial.Poll();
    ASSERT_TRUE(result);
    EXPECT_TRUE(result->Failed);
    EXPECT_EQ(result->Text, "Källan av den här typen ger inget värde");
}

TEST_F(SourceTrialTest, AJsonSourceThatCannotBeFetchedFailsInTheBackground) {
    // Nothing listens on port 1 of the loopback address: the connection is refused at once.
    TSourceTrial trial(Candidate(DisplayDataSourceType_JSON, "http://127.0.0.1:1/x|temp"), model);
    std::optional<TSourceTrial::TResult> result;
    for (int poll = 0; poll < 500 && !result; ++poll) {
        result = trial.Poll();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_TRUE(result);
    EXPECT_TRUE(result->Failed);
    EXPECT_NE(result->Text.find("127.0.0.1:1"), std::string::npos) << result->Text;
}

} // namespace
