#include "datasources/DisplayDataSourceJSON.h"

#include "LocalHttpServer.h"
#include "RefreshUntilApplied.h"
#include "platform/RegionalSettings.h"
#include "platform/VorlixError.h"
#include "support/TestClock.h"

#include <gtest/gtest.h>

namespace {

using TLines = std::vector<std::string>;

// Top-level members of every kind; the body is UTF-8 with some letters written directly and some as
// \u escapes.
const std::string Document = R"({"temp":21.5,"name":"Hall","ok":true,"price":12.50,"count":100,"zero":0,)"
                             R"("big":123456789012,"negative":-12345678901,"huge":123456789012345678901234,)"
                             R"("exp":1.5e20,"tiny":1e-6,"longexp":12345678901e5,"nested":{"temp":1},)"
                             R"("list":[1,2],"none":null,"a.b":"dotted","dup":"first","dup":"second",)"
                             R"("direct":"Hällo Ö æ","escaped":"H\u00e4llo \u00d6","quote":"say \"hi\"\n"})";

class JsonSource : public ::testing::Test {
protected:
    void SetUp() override {
        Server.Server().Get("/doc", [](const httplib::Request&, httplib::Response& response) {
            response.set_content(Document, "application/json");
        });
        Server.Start();
    }

    // A fresh source on the document, refreshed until it has applied the fetch.
    std::unique_ptr<TDisplayDataSourceJSON> Fetched(const std::string& configuration) {
        auto source = std::make_unique<TDisplayDataSourceJSON>("j", configuration);
        EXPECT_TRUE(RefreshUntilApplied(*source)) << configuration;
        return source;
    }

    TestClock Clock{SomeMoment()};
    TLocalHttpServer Server;
};

TEST_F(JsonSource, PicksTheTextOfATopLevelMember) {
    const struct {
        std::string attribute;
        char separator;
        std::string text;
    } cases[] = {
        {"temp", '.', "21.5"},
        {"temp", ',', "21,5"},
        {"name", '.', "Hall"},
        {"ok", '.', ""},
        {"price", '.', "12.5"},
        {"price", ',', "12,5"},
        {"count", '.', "100"},
        {"zero", '.', "0"},
        {"big", ',', "123456789012"},
        {"negative", '.', "-12345678901"},
        {"huge", '.', "123456789012345678901234"},
        {"exp", '.', "1.5E+20"},
        {"tiny", '.', "1E-6"},
        {"longexp", '.', "1.2345678901E+15"},
        {"nested", '.', ""},
        {"list", '.', ""},
        {"none", '.', ""},
        {"a.b", '.', "dotted"},
        {"dup", '.', "first"},
        {"direct", '.', "Hallo O ae"},
        {"escaped", '.', "Hällo Ö"},
        {"quote", '.', "say \"hi\"\n"},
        {"Temp", '.', "JSON attribute Temp not found in request"},
        {"nested.temp", '.', "JSON attribute nested.temp not found in request"},
    };
    for (const auto& c : cases) {
        TRegionalSettings settings;
        settings.DecimalSeparator = c.separator;
        const TScopedRegionalSettings installed(settings);
        const auto source = Fetched(Server.Url("/doc") + "|" + c.attribute);
        EXPECT_EQ(source->Value.Text(), c.text) << c.attribute << " with " << c.separator;
        EXPECT_EQ(source->Value.Count(), c.text.empty() ? 0u : 1u) << c.attribute;
    }
}

TEST_F(JsonSource, ValueIsOneStrictlyDelimitedLine) {
    TRegionalSettings comma;
    comma.DecimalSeparator = ',';
    const TScopedRegionalSettings installed(comma);
    EXPECT_EQ(Fetched(Server.Url("/doc") + "|temp")->Value.DelimitedText(), "\"21,5\"");
    EXPECT_EQ(Fetched(Server.Url("/doc") + "|direct")->Value.DelimitedText(), "Hallo O ae");
}

TEST_F(JsonSource, WithoutAttributeEveryDueRefreshPublishesTheMessage) {
    const auto source = Fetched(Server.Url("/doc"));
    EXPECT_EQ(source->Attribute(), "");
    EXPECT_EQ(source->Value.Text(), "No JSON attribute defined");
    Clock.Advance(1001);
    EXPECT_TRUE(RefreshUntilApplied(*source));
    EXPECT_EQ(source->Value.Text(), "No JSON attribute defined");
}

TEST_F(JsonSource, KeepsTheDocumentReducedToAscii) {
    const auto source = Fetched(Server.Url("/doc") + "|name");
    EXPECT_NE(source->LastRetrievedData().find(R"("direct":"Hallo O ae")"), std::string::npos);
    EXPECT_NE(source->LastRetrievedData().find(R"("escaped":"H\u00e4llo \u00d6")"), std::string::npos);
}

TEST_F(JsonSource, RefreshesOnlyWhenDue) {
    const auto source = Fetched(Server.Url("/doc") + "|name");
    source->SetTimeoutMsec(1000);
    Clock.Advance(1000);
    EXPECT_FALSE(source->RefreshData());
    EXPECT_EQ(source->Value.Text(), "Hall") << "a refresh that is not due keeps the value";
    Clock.Advance(1);
    EXPECT_TRUE(RefreshUntilApplied(*source));

    source->SetTimeoutMsec(0);
    Clock.Advance(100'000);
    EXPECT_FALSE(source->RefreshData()) << "without interval the source never fetches";
}

TEST(JsonSourceDocument, OneOddMemberLeavesTheOthersReadable) {
    const struct {
        std::string document;
        std::string attribute;
        std::string text;
    } cases[] = {
        // Typographic quotes inside a string, as UTF-8 and as stray Windows-1252 bytes.
        {"{\"citat\": \"Han sa \xE2\x80\x9Dhej\xE2\x80\x9D\", \"temp\": 7}", "citat", "Han sa 'hej'"},
        {"{\"citat\": \"Han sa \xE2\x80\x9Dhej\xE2\x80\x9D\", \"temp\": 7}", "temp", "7"},
        {"{\"citat\": \"\x84nd\x93\", \"temp\": 7}", "citat", "'nd'"},
        // Numbers beyond what a double holds, at the top level and nested.
        {R"({"a": 1E400, "b": "ok"})", "b", "ok"},
        {R"({"a": 1E400, "b": "ok"})", "a", "1E+400"},
        {R"({"a": -1e99999, "b": "ok"})", "a", "-1e99999"},
        {R"({"a": [1E400, {"x": -1E-99999}], "b": 2})", "b", "2"},
        {R"({"a": 123456789012345678901234567890123456789, "b": 2})", "a",
         "123456789012345678901234567890123456789"},
    };
    TLocalHttpServer server;
    for (std::size_t index = 0; index < std::size(cases); ++index) {
        server.Server().Get(
            "/" + std::to_string(index),
            [&document = cases[index].document](const httplib::Request&, httplib::Response& response) {
                response.set_content(document, "application/json");
            });
    }
    server.Start();
    TestClock clock(SomeMoment());
    for (std::size_t index = 0; index < std::size(cases); ++index) {
        const auto& c = cases[index];
        TDisplayDataSourceJSON source("j", server.Url("/" + std::to_string(index)) + "|" + c.attribute);
        std::string text;
        try {
            EXPECT_TRUE(RefreshUntilApplied(source)) << c.document;
            text = source.Value.Text();
        } catch (const EVorlixError& error) {
            text = error.what();
        }
        EXPECT_EQ(text, c.text) << c.document;
    }
}

TEST(JsonSourceConfiguration, SplitsUrlAndAttributeAtTheBar) {
    const struct {
        std::string configuration;
        std::string source, attribute;
    } cases[] = {
        {"http://h/x|temp", "http://h/x", "temp"},
        {"http://h/x", "http://h/x", ""},
        {"http://h/x|", "http://h/x", ""},
        {"http://h/x|temp|ignored", "http://h/x", "temp"},
        {"|temp", "", "temp"},
        {R"("http://h/x?a|b"|temp)", "http://h/x?a|b", "temp"},
        {R"(http://h/x|"we""ird|name")", "http://h/x", R"(we"ird|name)"},
        {R"("unterminated|temp)", "unterminated|temp", ""},
        {R"("quoted"tail|temp)", "quotedtail", "temp"},
    };
    for (const auto& c : cases) {
        const TDisplayDataSourceJSON source("j", c.configuration);
        EXPECT_EQ(source.Source(), c.source) << c.configuration;
        EXPECT_EQ(source.Attribute(), c.attribute) << c.configuration;
    }
}

TEST(JsonSourceConfiguration, GivesBackATextThatReadsAsTheSameParts) {
    const struct {
        std::string source, attribute, configuration;
    } cases[] = {
        {"http://h/x", "temp", "http://h/x|temp"},
        {"http://h/x", "", "http://h/x|"},
        {"http://h/x?a|b", "temp", R"("http://h/x?a|b"|temp)"},
        {"http://h/x", R"("odd")", R"(http://h/x|"""odd""")"},
    };
    for (const auto& c : cases) {
        TDisplayDataSourceJSON source("j", "");
        source.Reinitialize(c.source, c.attribute);
        EXPECT_EQ(source.GetConfiguration(), c.configuration);
        const TDisplayDataSourceJSON reread("j", source.GetConfiguration());
        EXPECT_EQ(reread.Source(), c.source);
        EXPECT_EQ(reread.Attribute(), c.attribute);
    }
}

TEST(JsonSourceConfiguration, MissingPartsKeepTheirValueAndTheDueTimeStays) {
    TDisplayDataSourceJSON source("j", "http://h/x|temp");
    source.LastTimeout = SomeMoment();
    source.Reinitialize("");
    EXPECT_EQ(source.Source(), "http://h/x");
    EXPECT_EQ(source.Attribute(), "temp");
    source.Reinitialize("http://h/y");
    EXPECT_EQ(source.Source(), "http://h/y");
    EXPECT_EQ(source.Attribute(), "temp");
    EXPECT_EQ(source.LastTimeout, SomeMoment());
}

TEST(JsonSourceConfiguration, ValueListHasNoLineBreakAndStrictDelimiting) {
    const TDisplayDataSourceJSON source("j", "");
    EXPECT_EQ(source.Value.LineBreak(), "");
    EXPECT_TRUE(source.Value.StrictDelimiter());
    EXPECT_EQ(source.GetDataSourceType(), DisplayDataSourceType_JSON);
}

} // namespace
