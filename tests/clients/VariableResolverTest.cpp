#include "clients/VariableResolver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using TVariables = TVariableResolver::TVariables;

// Resolves with a fresh resolver and keeps the cycles it reports.
struct TResolution {
    std::string Text;
    std::vector<std::string> Cycles;
};

TResolution Resolve(const std::string& text, const TVariables& variables) {
    TResolution resolution;
    TVariableResolver resolver;
    resolution.Text = resolver.Resolve(
        text, variables, [&](const std::string& reference) { resolution.Cycles.push_back(reference); });
    return resolution;
}

TEST(VariableResolverTest, ReplacesEveryReferenceByItsValueOrNothing) {
    const TVariables variables{
        {"[Temp]", "21"},  {"[Outer]", "<[Temp]>"}, {"[Bracket]", "a]b"},      {"[a[b]", "nested"},
        {"[Open]", "[Te"}, {"[Empty]", ""},         {"[Lines]", "1\r\n2\r\n"},
    };
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"-t\"[Temp]\"", "-t\"21\""},
        {"[Temp] and [Temp]", "21 and 21"},
        {"-t\"[Unknown]\"", "-t\"\""},
        {"[Outer]", "<21>"},
        {"[Outer][Outer]", "<21><21>"},
        {"no reference", "no reference"},
        {"a ] before [Temp]", "a ] before [Temp]"},
        {"[Temp] ] [Temp]", "21 ] [Temp]"},
        {"[Temp] [open", "21 [open"},
        {"[a[b]", "nested"},
        {"[]", ""},
        {"", ""},
        // A value cannot stop the references after it, nor form one with the text around it.
        {"[Bracket]|[Temp]", "a]b|21"},
        {"[Open]mp]", "[Temp]"},
        {"<[Empty]>", "<>"},
        {"-t\"[Lines]\"", "-t\"1\r\n2\r\n\""},
    };
    for (const auto& c : cases) {
        const TResolution resolution = Resolve(c.text, variables);
        EXPECT_EQ(resolution.Text, c.expected) << c.text;
        EXPECT_TRUE(resolution.Cycles.empty()) << c.text;
    }
}

TEST(VariableResolverTest, ReplacesAnyNumberOfDistinctReferences) {
    TVariables variables;
    std::string text;
    std::string expected;
    for (int i = 0; i < 100; ++i) {
        const std::string name = "[S" + std::to_string(i) + "]";
        variables[name] = std::to_string(i * i);
        text += name + ",";
        expected += std::to_string(i * i) + ",";
    }
    EXPECT_EQ(Resolve(text, variables).Text, expected);
    // Nested as deep as there are sources, too.
    TVariables chain{{"[C99]", "end"}};
    for (int i = 0; i < 99; ++i) {
        chain["[C" + std::to_string(i) + "]"] = "[C" + std::to_string(i + 1) + "]";
    }
    EXPECT_EQ(Resolve("[C0]", chain).Text, "end");
}

TEST(VariableResolverTest, AReferenceInsideItsOwnExpansionIsReplacedByNothing) {
    const TVariables variables{
        {"[Rec]", "[Rec]"},    {"[Ping]", "p[Pong]"},
        {"[Pong]", "q[Ping]"}, {"[Twice]", "[Twice]x[Twice]"},
        {"[Shared]", "[Rec]"}, {"[Uses]", "[Shared][Shared]"},
    };
    const struct {
        const char* text;
        const char* expected;
        std::vector<std::string> cycles;
    } cases[] = {
        {"[Rec]", "", {"[Rec]"}},     {"x[Rec]y", "xy", {"[Rec]"}},  {"[Ping]", "pq", {"[Ping]"}},
        {"[Pong]", "qp", {"[Pong]"}}, {"[Twice]", "x", {"[Twice]"}}, {"[Uses]", "", {"[Rec]"}},
    };
    for (const auto& c : cases) {
        const TResolution resolution = Resolve(c.text, variables);
        EXPECT_EQ(resolution.Text, c.expected) << c.text;
        EXPECT_EQ(resolution.Cycles, c.cycles) << c.text;
    }
}

TEST(VariableResolverTest, ReportsEachCycleTheFirstTimeOnly) {
    const TVariables variables{{"[Rec]", "[Rec]"}, {"[Self]", "-[Self]-"}};
    TVariableResolver resolver;
    std::vector<std::string> cycles;
    const auto note = [&](const std::string& reference) { cycles.push_back(reference); };
    for (int turn = 0; turn < 3; ++turn) {
        EXPECT_EQ(resolver.Resolve("[Rec]|[Self]", variables, note), "|--");
    }
    EXPECT_EQ(cycles, (std::vector<std::string>{"[Rec]", "[Self]"}));
}

TEST(VariableResolverTest, ValuesThatMultiplyEndTheTextAtItsLimit) {
    // Each level holds the next one twice: 2^24 letters if nothing stopped it.
    TVariables variables{{"[L24]", "xy"}};
    for (int level = 0; level < 24; ++level) {
        const std::string next = "[L" + std::to_string(level + 1) + "]";
        variables["[L" + std::to_string(level) + "]"] = next + next;
    }
    const std::string resolved = Resolve("[L0]tail", variables).Text;
    EXPECT_EQ(resolved.size(), 64u * 1024u);
    EXPECT_EQ(resolved.substr(0, 6), "xyxyxy");
    EXPECT_EQ(resolved.find("tail"), std::string::npos);
}

TEST(VariableResolverTest, StopsReadingValuesAfterTheLimitEvenWhenTheyInsertNothing) {
    // [Many] reads [Silent], a MiB of unknown references, a hundred times.
    std::string silent;
    while (silent.size() < 1024 * 1024) {
        silent += "[Unknown]";
    }
    std::string many;
    for (int i = 0; i < 100; ++i) {
        many += "[Silent]";
    }
    const TVariables variables{{"[Silent]", silent}, {"[Many]", many}};
    EXPECT_EQ(Resolve("[Silent]read", variables).Text, "read");
    EXPECT_EQ(Resolve("before [Many] after", variables).Text, "before ");
}

} // namespace
