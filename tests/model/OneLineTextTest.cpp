#include "model/OneLineText.h"

#include <gtest/gtest.h>

namespace {

TEST(OneLineTextTest, JoinsTheLinesOfAValueWithBlanks) {
    const struct {
        const char* text;
        const char* shown;
    } cases[] = {
        {"21\r\n", "21"}, {"1\r\n2\r\n3\r\n", "1 2 3"}, {"a\nb", "a b"}, {"plain", "plain"}, {"", ""},
        {"\r\n", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(OneLineText(c.text), c.shown) << c.text;
    }
}

} // namespace
