#include "protocol/VorlixConfiguration.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

using TPart = TVorlix3Configuration::TVorlix3ConfigurationPart;

struct ParseCase {
    std::string Input;
    std::string Raw;
    std::string VDProtocol;
};

void PrintTo(const ParseCase& c, std::ostream* os) {
    *os << c.Input;
}

class ConfigurationParseTest : public testing::TestWithParam<ParseCase> {};

TEST_P(ConfigurationParseTest, WritesBackBothForms) {
    TVorlix3Configuration configuration;
    configuration.Reinitialize(GetParam().Input);
    EXPECT_EQ(configuration.GetConfiguration(TVorlix3Configuration::vcRaw), GetParam().Raw);
    EXPECT_EQ(configuration.GetConfiguration(TVorlix3Configuration::vcVDProtocoll), GetParam().VDProtocol);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConfigurationParseTest,
    testing::Values(
        ParseCase{"", "", ""},
        // Raw form: area in use with indices 0; a selector is followed by two blanks when written.
        ParseCase{"-sc3 -f1 -cf2", "-sc3  -f1 -cf2", "3,0,0,1: -f1 -cf2"},
        ParseCase{"-sc12 -f1", "-sc12  -f1", "12,0,0,1: -f1"}, ParseCase{"-sc3 -dc", "-sc3 ", "3,0,0,1:"},
        // Wrapped in any number of double quotes.
        ParseCase{"\"-sc3 -f1 -cf2\"", "-sc3  -f1 -cf2", "3,0,0,1: -f1 -cf2"},
        ParseCase{"\"\"\"-sc3 -f1\"\"", "-sc3  -f1", "3,0,0,1: -f1"}, ParseCase{"\"\"", "", ""},
        // VD-protocol form keeps its indices; the state keeps its low 8 bits.
        ParseCase{"2,7,9,1:-f1", "-sc2  -f1", "2,7,9,1: -f1"},
        ParseCase{"3,0,0,300:-f1", "-sc3  -f1", "3,0,0,44: -f1"},
        ParseCase{"03,0,0,1:-f1", "-sc3  -f1", "3,0,0,1: -f1"},
        // Areas in area order, both forms mixed.
        ParseCase{"-sc4 -f0|5,2,3,1:-cf1|-sc1 -f1", "-sc1  -f1|-sc4  -f0|-sc5  -cf1",
                  "1,0,0,1: -f1|4,0,0,1: -f0|5,2,3,1: -cf1"},
        // Areas not in use, or not named, are not written.
        ParseCase{"3,0,0:-f1", "", ""}, ParseCase{"3,0,0,0:-f1", "", ""}, ParseCase{"3,0,0,256:-f1", "", ""},
        ParseCase{"3:-f1", "", ""}, ParseCase{"1000,0,0,1:-f1", "", ""}, ParseCase{"0003,0,0,1:-f1", "", ""},
        ParseCase{"003,0,0,1:-f1", "-sc3  -f1", "3,0,0,1: -f1"}, ParseCase{"16,0,0,1:-f1", "", ""},
        ParseCase{"-sc16 -f1", "", ""}, ParseCase{"-sc01 -f1", "", ""}, ParseCase{"-1,0,0,1:-f1", "", ""},
        ParseCase{"x -sc1 -f0", "", ""}, ParseCase{" -sc1 -f0", "", ""},
        ParseCase{"-sc1 -f0|junk", "-sc1  -f0", "1,0,0,1: -f0"},
        // Options are written in the order they are taken out, whatever the input order.
        ParseCase{"-sc0 -t\"x\" -sfm1 -nss3 -ss4 -sr2 -r1 -sha1 -sva2 -sad2 -cb0 -cf3 -f1 -sg0,0,64,16",
                  "-sc0  -sg0,0,64,16 -f1 -cf3 -cb0 -sad2 -sva2 -sha1 -r1 -sr2 -ss4 -nss3 -sfm1 -t\"x\"",
                  "0,0,0,1: -sg0,0,64,16 -f1 -cf3 -cb0 -sad2 -sva2 -sha1 -r1 -sr2 -ss4 -nss3 -sfm1 -t\"x\""},
        // A quoted value keeps its blanks; a missing closing quote takes the rest of the segment.
        ParseCase{"-sc1 -t\"Hello big world\" -f0", "-sc1  -f0 -t\"Hello big world\"",
                  "1,0,0,1: -f0 -t\"Hello big world\""},
        ParseCase{"-sc1 -f0 -t\"Hello world|-sc2 -f1", "-sc1  -f0 -t\"Hello world\"|-sc2  -f1",
                  "1,0,0,1: -f0 -t\"Hello world\"|2,0,0,1: -f1"},
        ParseCase{"\"-sc0 -t\"Hi there\"\"", "-sc0  -t\"Hi there\"", "0,0,0,1: -t\"Hi there\""},
        ParseCase{"-sc0 -t\"\" -f1", "-sc0  -f1 -t\"\"", "0,0,0,1: -f1 -t\"\""},
        // The quotes that end the whole string go first, so an empty text there is lost.
        ParseCase{"-sc0 -t\"\"", "-sc0 ", "0,0,0,1:"},
        ParseCase{"-sc0 -t[Temp Out]", "-sc0  -t\"[Temp\"", "0,0,0,1: -t\"[Temp\""},
        // Quotes at the ends of an unquoted value are dropped.
        ParseCase{"-sc0 -f1\" -cf2", "-sc0  -f1 -cf2", "0,0,0,1: -f1 -cf2"},
        // A key without a value is dropped.
        ParseCase{"-sc0 -f -cf1", "-sc0  -cf1", "0,0,0,1: -cf1"},
        // The search for a key is plain: it is found inside a later text value.
        ParseCase{"-sc0 -t\"a -f2 b\" -f1", "-sc0  -f2 -t\"a  b\"", "0,0,0,1: -f2 -t\"a  b\""},
        // Selectors are rewritten in the whole string, text values included.
        ParseCase{"-sc0 -t\"see -sc1\"", "-sc0  -t\"see 1,0,0,1:\"", "0,0,0,1: -t\"see 1,0,0,1:\""}));

struct AreaCase {
    std::string Input;
    std::size_t Area;
    std::uint8_t State;
    std::uint8_t VDVariablesIndex;
    std::uint8_t VDColorIndex;
    std::string ExtraData;
};

void PrintTo(const AreaCase& c, std::ostream* os) {
    *os << c.Input;
}

class ConfigurationAreaTest : public testing::TestWithParam<AreaCase> {};

TEST_P(ConfigurationAreaTest, ReadsNumbersAndExtraData) {
    TVorlix3Configuration configuration;
    configuration.Reinitialize(GetParam().Input);
    const TPart& part = configuration.DisplayParts()[GetParam().Area];
    EXPECT_EQ(part.DisplayIndex(), GetParam().Area);
    EXPECT_EQ(part.State(), GetParam().State);
    EXPECT_EQ(part.VDVariablesIndex(), GetParam().VDVariablesIndex);
    EXPECT_EQ(part.VDColorIndex(), GetParam().VDColorIndex);
    EXPECT_EQ(part.ExtraData(), GetParam().ExtraData);
}

INSTANTIATE_TEST_SUITE_P(Cases, ConfigurationAreaTest,
                         testing::Values(AreaCase{"-sc3 -f1 -cf2", 3, 1, 0, 0, ""},
                                         AreaCase{"7,300,-1,2:-f1", 7, 2, 44, 255, ""},
                                         AreaCase{"3,0,0:-f1", 3, 0, 0, 0, ""},
                                         AreaCase{"3,x,5,1", 3, 0, 0, 0, "3,x,5,1"},
                                         AreaCase{"3,x,5,1:", 3, 1, 0, 5, ""},
                                         AreaCase{"-sc0 -f1 -xyz 7 -cf2 -dc", 0, 1, 0, 0, "-xyz 7  -dc"},
                                         AreaCase{"-sc0 -t\"a\"b -f1", 0, 1, 0, 0, "b"}));

TEST(ConfigurationTest, CreatesSixteenUnusedAreasNumberedInOrder) {
    const TVorlix3Configuration configuration;
    ASSERT_EQ(configuration.DisplayParts().size(), TVorlix3Configuration::AreaCount);
    for (std::size_t area = 0; area < TVorlix3Configuration::AreaCount; ++area) {
        EXPECT_EQ(configuration.DisplayParts()[area].DisplayIndex(), area);
        EXPECT_EQ(configuration.DisplayParts()[area].State(), 0);
        EXPECT_TRUE(configuration.DisplayParts()[area].DisplayVariables().empty());
    }
    EXPECT_EQ(configuration.GetConfiguration(TVorlix3Configuration::vcRaw), "");
}

TEST(ConfigurationTest, ReparseLeavesUnnamedAreasUnusedWithTheirOptions) {
    TVorlix3Configuration configuration;
    configuration.Reinitialize("-sc3 -f1 -xyz|-sc4 -f0");
    configuration.Reinitialize("4,0,0,1:-cf2");

    const TPart& area3 = configuration.DisplayParts()[3];
    EXPECT_EQ(area3.State(), 0);
    EXPECT_EQ(area3.ExtraData(), "");
    EXPECT_EQ(area3.Font(), 1);
    // Area 4 was named again: its options are replaced.
    EXPECT_EQ(configuration.GetConfiguration(TVorlix3Configuration::vcRaw), "-sc4  -cf2");

    configuration.DisplayParts()[3].SetState(1);
    EXPECT_EQ(configuration.GetConfiguration(TVorlix3Configuration::vcRaw), "-sc3  -f1|-sc4  -cf2");

    configuration.Reinitialize("");
    EXPECT_EQ(configuration.GetConfiguration(TVorlix3Configuration::vcRaw), "");
}

TEST(ConfigurationPartTest, SegmentNumbersOverwriteOnlyWhatTheyName) {
    TPart part(3);
    part.SetVDColorIndex(9);
    part.Reinitialize("5,1:-f1");
    EXPECT_EQ(part.DisplayIndex(), 5);
    EXPECT_EQ(part.VDVariablesIndex(), 1);
    EXPECT_EQ(part.VDColorIndex(), 9);
    EXPECT_EQ(part.GetConfiguration(TVorlix3Configuration::vcVDProtocoll), "5,1,9,0: -f1");

    part.Reset();
    EXPECT_EQ(part.DisplayIndex(), 5);
    EXPECT_EQ(part.VDColorIndex(), 0);
    EXPECT_EQ(part.GetConfiguration(TVorlix3Configuration::vcRaw), "-sc5  -f1");
}

struct ByteOption {
    std::string Key;
    std::uint8_t (TPart::*Get)() const;
    void (TPart::*Set)(std::uint8_t);
};

const std::vector<ByteOption> ByteOptions = {
    {"-f", &TPart::Font, &TPart::SetFont},
    {"-sha", &TPart::Align, &TPart::SetAlign},
    {"-sva", &TPart::VAlign, &TPart::SetVAlign},
    {"-sfm", &TPart::Spacing, &TPart::SetSpacing},
    {"-sr", &TPart::Rotate, &TPart::SetRotate},
    {"-nss", &TPart::Scroll, &TPart::SetScroll},
    {"-r", &TPart::Blink, &TPart::SetBlink},
    {"-cb", &TPart::Background, &TPart::SetBackground},
    {"-cf", &TPart::Foreground, &TPart::SetForeground},
};

class ByteOptionTest : public testing::TestWithParam<ByteOption> {};

TEST_P(ByteOptionTest, StoresUnderItsKeyAndLeavesTheOthers) {
    TPart part(0);
    (part.*GetParam().Set)(200);
    EXPECT_EQ((part.*GetParam().Get)(), 200);
    EXPECT_EQ(part.GetConfiguration(TVorlix3Configuration::vcRaw), "-sc0  " + GetParam().Key + "200");
    for (const ByteOption& other : ByteOptions) {
        if (other.Key != GetParam().Key) {
            EXPECT_EQ((part.*other.Get)(), 0) << other.Key;
        }
    }
}

TEST_P(ByteOptionTest, ReadsTheParsedValue) {
    TPart part(0);
    part.Reinitialize("0,0,0,1:" + GetParam().Key + "3");
    EXPECT_EQ((part.*GetParam().Get)(), 3);
}

INSTANTIATE_TEST_SUITE_P(Properties, ByteOptionTest, testing::ValuesIn(ByteOptions),
                         [](const testing::TestParamInfo<ByteOption>& info) {
                             return info.param.Key.substr(1);
                         });

struct ByteReadCase {
    std::string Segment;
    std::uint8_t Font;
};

void PrintTo(const ByteReadCase& c, std::ostream* os) {
    *os << c.Segment;
}

class ByteOptionReadTest : public testing::TestWithParam<ByteReadCase> {};

TEST_P(ByteOptionReadTest, ReadsLowEightBitsOrZero) {
    TPart part(0);
    part.Reinitialize(GetParam().Segment);
    EXPECT_EQ(part.Font(), GetParam().Font);
}

INSTANTIATE_TEST_SUITE_P(Cases, ByteOptionReadTest,
                         testing::Values(ByteReadCase{"0,0,0,1:-f2", 2}, ByteReadCase{"0,0,0,1:-f300", 44},
                                         ByteReadCase{"0,0,0,1:-f-1", 255}, ByteReadCase{"0,0,0,1:-fx", 0},
                                         ByteReadCase{"0,0,0,1:-f 1", 0}, ByteReadCase{"0,0,0,1:-cf1", 0},
                                         ByteReadCase{"0,0,0,1:-f99999999999", 0}));

TEST(ConfigurationPartTest, TextIsStoredUnchangedAndWrittenInQuotes) {
    TPart part(2);
    EXPECT_EQ(part.Text(), "");
    part.SetText("Temp [Out] is \"warm\"");
    EXPECT_EQ(part.Text(), "Temp [Out] is \"warm\"");
    EXPECT_EQ(part.GetConfiguration(TVorlix3Configuration::vcRaw), "-sc2  -t\"Temp [Out] is \"warm\"\"");

    part.Reinitialize("2,0,0,1:-f1 -t\"Hello big world\"");
    EXPECT_EQ(part.Text(), "Hello big world");
}

struct RectReadCase {
    std::string Segment;
    TRect Rect;
};

void PrintTo(const RectReadCase& c, std::ostream* os) {
    *os << c.Segment;
}

class ClientRectReadTest : public testing::TestWithParam<RectReadCase> {};

TEST_P(ClientRectReadTest, ReadsFourIntegersOrTheEmptyRectangle) {
    TPart part(0);
    part.Reinitialize(GetParam().Segment);
    EXPECT_EQ(part.ClientRect(), GetParam().Rect);
}

INSTANTIATE_TEST_SUITE_P(Cases, ClientRectReadTest,
                         testing::Values(RectReadCase{"0,0,0,1:-sg0,8,64,8", {0, 8, 64, 16}},
                                         RectReadCase{"0,0,0,1:-sg\" 10, 2 ,54,-4\"", {10, 2, 64, -2}},
                                         RectReadCase{"0,0,0,1:-f1", {}}, RectReadCase{"0,0,0,1:-sg\"\"", {}},
                                         RectReadCase{"0,0,0,1:-sg0,8,64", {}},
                                         RectReadCase{"0,0,0,1:-sg0,8,64,8,1", {}},
                                         RectReadCase{"0,0,0,1:-sg0,,64,8", {}},
                                         RectReadCase{"0,0,0,1:-sg0,8,x,8", {}},
                                         RectReadCase{"0,0,0,1:-sg2147483647,0,1,0", {}},
                                         RectReadCase{"0,0,0,1:-sg0,-2147483648,0,-1", {}}));

TEST(ConfigurationPartTest, ClientRectIsWrittenAsLeftTopWidthHeight) {
    TPart part(1);
    part.SetClientRect({36, 0, 64, 8});
    EXPECT_EQ(part.GetConfiguration(TVorlix3Configuration::vcRaw), "-sc1  -sg36,0,28,8");
    EXPECT_EQ(part.ClientRect(), (TRect{36, 0, 64, 8}));

    part.SetClientRect({-1, 0, INT_MAX, 0});
    EXPECT_EQ(part.GetConfiguration(TVorlix3Configuration::vcRaw), "-sc1  -sg-1,0,2147483648,0");
    EXPECT_EQ(part.ClientRect(), TRect{});
}

TEST(ConfigurationChangeTest, OptionSettersNotifyThePartAndTheConfiguration) {
    TVorlix3Configuration configuration;
    std::vector<const TVorlix3Configuration*> senders;
    configuration.SetOnChangeConfig(
        [&senders](const TVorlix3Configuration& sender) { senders.push_back(&sender); });
    TPart& part = configuration.DisplayParts()[5];

    const std::vector<std::function<void()>> setters = {
        [&part] { part.SetFont(1); },        [&part] { part.SetAlign(1); },
        [&part] { part.SetVAlign(1); },      [&part] { part.SetSpacing(1); },
        [&part] { part.SetRotate(1); },      [&part] { part.SetScroll(1); },
        [&part] { part.SetBlink(1); },       [&part] { part.SetBackground(1); },
        [&part] { part.SetForeground(1); },  [&part] { part.SetText("x"); },
        [&part] { part.SetExtraData("x"); }, [&part] { part.SetClientRect({0, 0, 1, 1}); },
    };
    for (std::size_t i = 0; i < setters.size(); ++i) {
        setters[i]();
        ASSERT_EQ(senders.size(), i + 1) << "setter " << i;
        EXPECT_EQ(senders.back(), &configuration);
    }
}

TEST(ConfigurationChangeTest, ParsingAndNumberSettersDoNotNotify) {
    TVorlix3Configuration configuration;
    int configurationEvents = 0;
    configuration.SetOnChangeConfig(
        [&configurationEvents](const TVorlix3Configuration&) { ++configurationEvents; });

    configuration.Reinitialize("-sc1 -f1 -t\"a\"|2,0,0,1:-cf1");
    TPart& part = configuration.DisplayParts()[1];
    part.SetState(0);
    part.SetDisplayIndex(9);
    part.SetVDVariablesIndex(1);
    part.SetVDColorIndex(1);
    part.Reset();
    part.Reinitialize("1,0,0,1:-f0");
    EXPECT_EQ(configurationEvents, 0);
}

TEST(ConfigurationChangeTest, APartOnItsOwnNotifiesWithItselfAsSender) {
    TPart part(4);
    const TPart* sender = nullptr;
    part.SetOnChangeConfig([&sender](const TPart& changed) { sender = &changed; });
    part.SetRotate(2);
    EXPECT_EQ(sender, &part);
    EXPECT_EQ(part.Rotate(), 2);
    EXPECT_EQ(part.Font(), 0);
}

} // namespace
