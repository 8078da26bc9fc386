#include "simulator/SimDisplay.h"

#include "simulator/SimLineReader.h"
#include "support/TestClock.h"

#include <gtest/gtest.h>

#include <random>

namespace {

const std::string Blank64 = TSimFrame(64).ToText();

// The text of a frame with every lit LED as '#', for checks that do not care about colour.
std::string Lit(const TSimFrame& frame) {
    std::string text = frame.ToText();
    for (char& c : text) {
        c = c == 'R' || c == 'G' || c == 'Y' ? '#' : c;
    }
    return text;
}

TEST(SimDisplayTest, AnswersEveryVersionRequest) {
    TSimDisplay display(64);
    EXPECT_EQ(display.Execute("-dac -i100 -v"), "VSIM 1.0\r\n");
    EXPECT_EQ(display.Execute("-v -v"), "VSIM 1.0\r\nVSIM 1.0\r\n");
    EXPECT_EQ(display.Execute("-sc1 -t\"-v\""), "") << "inside a text it is text";
}

struct BrightnessCase {
    const char* Line;
    int Brightness;
};

class SimBrightnessTest : public ::testing::TestWithParam<BrightnessCase> {};

TEST_P(SimBrightnessTest, SetsTheBrightnessWithinItsRange) {
    TSimDisplay display(64);
    display.Execute("-i40");
    display.Execute(GetParam().Line);
    EXPECT_EQ(display.Brightness(), GetParam().Brightness);
}

INSTANTIATE_TEST_SUITE_P(Levels, SimBrightnessTest,
                         ::testing::Values(BrightnessCase{"-i0", 0}, BrightnessCase{"-i100", 100},
                                           BrightnessCase{"-i180", 100}, BrightnessCase{"-i", 40},
                                           BrightnessCase{"-i-5", 40}, BrightnessCase{"-ix", 40},
                                           BrightnessCase{"-i99999999999", 40}));

TEST(SimDisplayTest, IgnoresWhatItCannotUse) {
    TSimDisplay display(64);
    for (const char* line :
         {"-t\"no area selected\"", "-sc16 -t\"no such area\"", "-sc1 -f7 -cf9 -sg1,2,3 -t\"\"",
          "-sc1 -sg-1,0,10,10", "-xyz -sc2 -unknown5 -dc", "garbage without options"}) {
        display.Execute(line);
    }
    EXPECT_EQ(display.Frame().ToText(), Blank64);
    display.Execute("-sc1 -f7 -cf9 -sg1,2,3 -t\"A\"");
    EXPECT_NE(display.Frame().ToText(), Blank64) << "the valid options of the line still apply";
}

TEST(SimDisplayTest, ShowsAnUnclosedTextToTheEndOfTheLine) {
    TSimDisplay closed(64);
    closed.Execute("-sc0 -sg0,0,64,8 -t\"AB -cf2\"");
    TSimDisplay open(64);
    open.Execute("-sc0 -sg0,0,64,8 -t\"AB -cf2");
    EXPECT_EQ(open.Frame(), closed.Frame());
}

TEST(SimDisplayTest, AreaOptionsApplyToTheAreaSelectedLastOnTheSameLine) {
    TSimDisplay display(64);
    display.Execute("-sc1 -sg0,0,64,8 -f0 -cf3 -sc2 -sg0,8,64,8 -f0 -cf2 -t\"B\"");
    display.Execute("-sc1 -t\"A\"");
    display.Execute("-cf1 -t\"ignored: no area selected on this line\"");
    TSimDisplay expected(64);
    expected.Execute("-sc1 -sg0,0,64,8 -f0 -cf3 -t\"A\"");
    expected.Execute("-sc2 -sg0,8,64,8 -f0 -cf2 -t\"B\"");
    EXPECT_EQ(display.Frame(), expected.Frame());
}

TEST(SimDisplayTest, KeepsScrollingWhenTheSameTextArrivesAgain) {
    TestClock clock;
    TSimDisplay display(64, clock);
    const std::string line = "-sc1 -sg0,0,64,8 -f0 -nss16 -t\"A text far too wide for its area\"";
    display.Execute(line);
    clock.Advance(250);
    const TSimFrame moved = display.Frame();
    display.Execute(line);
    EXPECT_EQ(display.Frame(), moved) << "the send cycle repeats rows; the text must not jump back";
    display.Execute("-sc1 -t\"Another text, also far too wide for it\"");
    TSimDisplay restarted(64, clock);
    restarted.Execute("-sc1 -sg0,0,64,8 -f0 -nss16 -t\"Another text, also far too wide for it\"");
    EXPECT_EQ(display.Frame(), restarted.Frame()) << "a new text starts at the left edge";
}

TEST(SimDisplayTest, TextThatFitsDoesNotScroll) {
    TestClock clock;
    TSimDisplay display(64, clock);
    display.Execute("-sc1 -sg0,0,64,8 -f0 -nss16 -t\"Fits\"");
    const TSimFrame first = display.Frame();
    clock.Advance(1234);
    EXPECT_EQ(display.Frame(), first);
}

TEST(SimDisplayTest, BlinksEveryHalfSecond) {
    TestClock clock;
    TSimDisplay display(64, clock);
    display.Execute("-sc1 -sg0,0,64,8 -f0 -cb2 -cf1 -r1 -t\"Blink\"");
    const std::string on = display.Frame().ToText();
    clock.Advance(500);
    const std::string off = display.Frame().ToText();
    EXPECT_EQ(off.find('R'), std::string::npos) << "text off";
    EXPECT_NE(off.find('G'), std::string::npos) << "background stays";
    clock.Advance(500);
    EXPECT_EQ(display.Frame().ToText(), on);
}

TEST(SimDisplayTest, DrawsNothingOutsideTheDisplayAndClipsToTheArea) {
    TSimDisplay display(64);
    display.Execute("-sc0 -sg60,0,100,8 -f0 -t\"WWWW\"");
    display.Execute("-sc1 -sg0,12,8,100 -f1 -t\"H\"");
    const std::string lit = Lit(display.Frame());
    const auto rows = [&](int y) { return lit.substr(static_cast<std::size_t>(y) * 65, 64); };
    EXPECT_EQ(rows(0).substr(0, 60), std::string(60, '.'));
    EXPECT_NE(rows(0).substr(60).find('#'), std::string::npos);
    for (int y = 0; y < 12; ++y) {
        EXPECT_EQ(rows(y).substr(0, 8), "........") << "row " << y;
    }
}

// Random bytes, weighted towards the characters of the command language, must never crash the
// display, and it must still work afterwards.
TEST(SimDisplayTest, SurvivesRandomInput) {
    TestClock clock;
    TSimDisplay display(128, clock);
    TSimLineReader reader;
    std::mt19937 random(20261209);
    const std::string alphabet = "-scdagfbtvinrsz0123456789,\" \r\n|[]";
    std::uniform_int_distribution<int> length(0, 300);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    for (int round = 0; round < 3000; ++round) {
        std::string chunk;
        for (int i = length(random); i > 0; --i) {
            chunk += byte(random) < 200 ? alphabet[pick(random)] : static_cast<char>(byte(random));
        }
        for (const std::string& line : reader.Feed(chunk)) {
            display.Execute(line);
        }
        clock.Advance(byte(random) * 1000);
        ASSERT_EQ(display.Frame().Width(), 128);
    }
    reader.Feed("\r");
    EXPECT_EQ(display.Execute("-dac -v"), "VSIM 1.0\r\n");
    EXPECT_EQ(display.Frame().ToText(), TSimFrame(128).ToText());
}

} // namespace

namespace {

struct CutOffCase {
    const char* Line;
    bool CutOff;
};

class SimCutOffTest : public ::testing::TestWithParam<CutOffCase> {};

TEST_P(SimCutOffTest, TellsATextThatStandsCutOffAtItsAreasEdge) {
    TestClock clock;
    TSimDisplay display(64, clock);
    display.Execute(GetParam().Line);
    EXPECT_EQ(display.TextCutOff(), GetParam().CutOff) << GetParam().Line;
}

// The 5 x 7 font takes 6 LEDs a character but the last: ten characters take 59 LEDs, eleven 65.
INSTANTIATE_TEST_SUITE_P(Texts, SimCutOffTest,
                         ::testing::Values(CutOffCase{"-sc0 -sg0,0,64,8 -f0 -t\"0123456789\"", false},
                                           CutOffCase{"-sc0 -sg0,0,64,8 -f0 -t\"0123456789A\"", true},
                                           CutOffCase{"-sc0 -sg0,0,64,8 -f0 -nss2 -t\"0123456789A\"", false},
                                           CutOffCase{"-sc0 -sg40,0,64,8 -f0 -t\"0123\"", false},
                                           CutOffCase{"-sc0 -sg40,0,64,8 -f0 -t\"01234\"", true},
                                           CutOffCase{"-sc0 -sg0,0,64,8 -f0 -t\"0123456789A\" -dc", false}),
                         [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(SimDisplayTest, CarriesOutAConfigurationStringAsItsClientSendsIt) {
    TestClock clock;
    TSimDisplay direct(64, clock);
    for (const char* line : {"-sc0 -dc", "-sc0 -sg0,0,64,8 -f0 -cf2 -t\"H\xe4j", "\"", "-i40"}) {
        direct.Execute(line);
    }
    TSimDisplay fromString(64, clock);
    // UTF-8 in, Latin-1 on the display; the value's line break ends its line, as on the wire.
    fromString.ExecuteConfigString("-sc0 -dc|-sc0 -sg0,0,64,8 -f0 -cf2 -t\"H\xc3\xa4j\r\n\"|-i40");
    EXPECT_EQ(fromString.Frame(), direct.Frame());
    EXPECT_EQ(fromString.Brightness(), 40);
    EXPECT_NE(Lit(fromString.Frame()), Blank64);
}

} // namespace
