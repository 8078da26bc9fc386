// Our evaluator against muparser, both parsing and evaluating the same text on every call.

#include "datasources/GlobalEvaluator.h"
#include "platform/Clock.h"
#include "platform/RegionalSettings.h"

#include <benchmark/benchmark.h>
#include <muParser.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace {

struct TExpressionCase {
    const char* Name;
    std::string Ours;
    // The same expression in muparser's syntax.
    std::string MuParser;
};

std::string LongSum() {
    std::string sum = "1";
    for (int i = 2; i <= 40; ++i) {
        sum += " + " + std::to_string(i);
    }
    return sum;
}

const TExpressionCase Cases[] = {
    {"arithmetic", "((12.5 + 3) * (7 - 2.25) - 4) / (1.5 + 0.5)",
     "((12.5 + 3) * (7 - 2.25) - 4) / (1.5 + 0.5)"},
    {"comparisons-and-logic", "((3 < 5) and (7 >= 2)) or ((4 <> 4) and (2 = 2))",
     "((3 < 5) && (7 >= 2)) || ((4 != 4) && (2 == 2))"},
    {"div-mod-shl", "1000 div 7 + 1000 mod 7 * (1 shl 10)", "1000 div 7 + 1000 mod 7 * (1 shl 10)"},
    {"long-sum", LongSum(), LongSum()},
    {"DaysSince", "DaysSince(45000)", "DaysSince(45000)"},
};

// muparser knows no integer operators and no DaysSince; these give it ours, with our meaning.
double IntegerDivide(double left, double right) {
    return std::trunc(left / right);
}
double Modulo(double left, double right) {
    return std::fmod(std::round(left), std::round(right));
}
double ShiftLeft(double left, double right) {
    return static_cast<double>(static_cast<long long>(left) << static_cast<long long>(right));
}
double DaysSince(double serial) {
    return std::max(0.0, std::floor(static_cast<double>(Now()) - serial));
}

class TMuParser : public mu::Parser {
public:
    TMuParser() {
        DefineOprt("div", IntegerDivide, mu::prMUL_DIV);
        DefineOprt("mod", Modulo, mu::prMUL_DIV);
        DefineOprt("shl", ShiftLeft, mu::prMUL_DIV);
        // Not optimised away: its value changes with the time.
        DefineFun("DaysSince", DaysSince, false);
    }
};

const TRegionalSettings PointDecimals{};

// Both must agree on the text before their speed means anything.
std::string Disagreement(const TExpressionCase& expression) {
    TMuParser parser;
    parser.SetExpr(expression.MuParser);
    const double theirs = parser.Eval();
    const auto ours = static_cast<double>(GlobalEvaluator().Evaluate(expression.Ours));
    if (std::abs(ours - theirs) <= 1e-9 * std::max(1.0, std::abs(ours))) {
        return {};
    }
    return "the evaluators disagree: ours " + std::to_string(ours) + ", muparser " + std::to_string(theirs);
}

void Ours(benchmark::State& state, const TExpressionCase& expression) {
    const TScopedRegionalSettings regional(PointDecimals);
    if (const std::string disagreement = Disagreement(expression); !disagreement.empty()) {
        state.SkipWithError(disagreement.c_str());
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(GlobalEvaluator().Evaluate(expression.Ours));
    }
}

void MuParser(benchmark::State& state, const TExpressionCase& expression) {
    TMuParser parser;
    for (auto _ : state) {
        parser.SetExpr(expression.MuParser);
        benchmark::DoNotOptimize(parser.Eval());
    }
}

[[maybe_unused]] const bool Registered = [] {
    for (const TExpressionCase& expression : Cases) {
        const std::string name = expression.Name;
        benchmark::RegisterBenchmark(("Evaluator/ours/" + name).c_str(), Ours, expression);
        benchmark::RegisterBenchmark(("Evaluator/muparser/" + name).c_str(), MuParser, expression);
    }
    return true;
}();

} // namespace
