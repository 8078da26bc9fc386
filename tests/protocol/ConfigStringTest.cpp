#include "protocol/ConfigString.h"

#include <gtest/gtest.h>

namespace {

struct SplitCase {
    std::string Input;
    std::vector<std::string> Pieces;
};

void PrintTo(const SplitCase& c, std::ostream* os) {
    *os << c.Input;
}

class SplitConfigStringTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitConfigStringTest, SplitsIntoCommandLines) {
    EXPECT_EQ(SplitConfigString(GetParam().Input), GetParam().Pieces);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitConfigStringTest,
    testing::Values(SplitCase{"", {}}, SplitCase{"-dac", {"-dac"}}, SplitCase{"-dac|-v", {"-dac", "-v"}},
                    SplitCase{"|A", {"", "A"}}, SplitCase{"A|", {"A", ""}}, SplitCase{"|", {"", ""}},
                    SplitCase{"A||B", {"A", "", "B"}},
                    // Blanks belong to the line.
                    SplitCase{" -sc4 -f0 ", {" -sc4 -f0 "}},
                    // A row string: clearing lines, then the area line; a '|' in the text cuts it.
                    SplitCase{"-sc2 -dc|-sc0 -sg0,0,64,16 -f1 -t\"a|b\"  ",
                              {"-sc2 -dc", "-sc0 -sg0,0,64,16 -f1 -t\"a", "b\"  "}},
                    // Quotes that do not open the piece are plain characters.
                    SplitCase{"-t\"x\"|-v", {"-t\"x\"", "-v"}},
                    // A quoted piece: '|' inside stays, "" is one quote, the rest after the quote is a piece.
                    SplitCase{"\"a|b\"|c", {"a|b", "c"}}, SplitCase{"\"say \"\"hi\"\"\"", {"say \"hi\""}},
                    SplitCase{"\"a\"b|c", {"a", "b", "c"}}, SplitCase{"\"\"", {""}},
                    SplitCase{"\"a\"|", {"a", ""}}, SplitCase{"\"a\"\"b\" c|d", {"a\"b", " c", "d"}},
                    // Without a closing quote the rest of the string is the content.
                    SplitCase{"\"abc|def", {"abc|def"}}, SplitCase{"x|\"ab\"\"", {"x", "ab\""}}));

} // namespace
