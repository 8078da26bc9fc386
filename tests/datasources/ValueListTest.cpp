#include "datasources/ValueList.h"

#include <gtest/gtest.h>

namespace {

using TLines = std::vector<std::string>;

TEST(ValueList, SetTextSplitsAtEveryKindOfLineBreak) {
    const struct {
        std::string text;
        TLines lines;
    } cases[] = {
        {"", {}},
        {"12", {"12"}},
        {"a\r\nb", {"a", "b"}},
        {"a\nb\rc", {"a", "b", "c"}},
        {"a\r\n", {"a"}},
        {"a\n\nb", {"a", "", "b"}},
        {"\r\n", {""}},
        {"a\n\r\nb", {"a", "", "b"}},
    };
    for (const auto& c : cases) {
        TValueList list;
        list.Add("old");
        list.SetText(c.text);
        EXPECT_EQ(list.Lines(), c.lines) << c.text;
    }
}

TEST(ValueList, WithoutLineBreakTheWholeTextIsOneLine) {
    TValueList list;
    list.SetLineBreak({});
    list.SetText("a\r\nb,c");
    EXPECT_EQ(list.Lines(), TLines{"a\r\nb,c"});
    EXPECT_EQ(list.Text(), "a\r\nb,c");
    list.SetText("");
    EXPECT_EQ(list.Count(), 0u);
}

TEST(ValueList, TextFollowsEveryLineWithTheLineBreak) {
    TValueList list;
    list.SetText("1\n2");
    EXPECT_EQ(list.Text(), "1\r\n2\r\n");
    list.SetLineBreak({});
    EXPECT_EQ(list.Text(), "12");
}

TEST(ValueList, DelimitedTextQuotesWhereNeeded) {
    const struct {
        TLines lines;
        bool strict;
        std::string delimited;
    } cases[] = {
        {{}, false, ""},
        {{""}, false, "\"\""},
        {{""}, true, "\"\""},
        {{"a", "b"}, false, "a,b"},
        {{"a", "", "b"}, false, "a,,b"},
        {{"a,b"}, true, "\"a,b\""},
        {{"say \"hi\""}, true, "\"say \"\"hi\"\"\""},
        {{"two words"}, false, "\"two words\""},
        {{"two words"}, true, "two words"},
        {{"tab\there"}, false, "\"tab\there\""},
        {{"tab\there"}, true, "tab\there"},
        {{"\x01"}, false, "\"\x01\""},
        {{"12,5", "x"}, true, "\"12,5\",x"},
        {{"Åre!"}, false, "Åre!"},
    };
    for (const auto& c : cases) {
        TValueList list;
        list.SetStrictDelimiter(c.strict);
        for (const auto& line : c.lines) {
            list.Add(line);
        }
        EXPECT_EQ(list.DelimitedText(), c.delimited)
            << ::testing::PrintToString(c.lines) << " strict " << c.strict;
    }
}

} // namespace
