#include "datasources/Evaluator.h"

#include "datasources/ExpressionLexer.h"
#include "datasources/ExpressionOperators.h"
#include "platform/RegionalSettings.h"
#include "platform/SprintF.h"
#include "platform/VorlixError.h"

#include <cfloat>
#include <cmath>
#include <optional>
#include <span>
#include <string>

namespace {

template <typename TOperator> struct TSpelling {
    std::string_view Text;
    TOperator Operator;
};

using TBinarySpelling = TSpelling<TExpressionOperator>;

constexpr TBinarySpelling RelationalOperators[] = {
    {"=", TExpressionOperator::Equal},     {"<>", TExpressionOperator::NotEqual},
    {"<", TExpressionOperator::Less},      {"<=", TExpressionOperator::LessEqual},
    {">", TExpressionOperator::Greater},   {">=", TExpressionOperator::GreaterEqual},
    {"cmp", TExpressionOperator::Compare},
};

constexpr TBinarySpelling AddingOperators[] = {
    {"+", TExpressionOperator::Add},     {"-", TExpressionOperator::Subtract},
    {"or", TExpressionOperator::Or},     {"xor", TExpressionOperator::Xor},
    {"bor", TExpressionOperator::BitOr}, {"bxor", TExpressionOperator::BitXor},
};

constexpr TBinarySpelling MultiplyingOperators[] = {
    {"*", TExpressionOperator::Multiply},        {"/", TExpressionOperator::Divide},
    {"div", TExpressionOperator::IntegerDivide}, {"mod", TExpressionOperator::Modulo},
    {"and", TExpressionOperator::And},           {"shl", TExpressionOperator::ShiftLeft},
    {"shr", TExpressionOperator::ShiftRight},    {"band", TExpressionOperator::BitAnd},
};

constexpr TSpelling<TPrefixOperator> PrefixOperators[] = {
    {"+", TPrefixOperator::Plus},
    {"-", TPrefixOperator::Minus},
    {"not", TPrefixOperator::Not},
    {"bnot", TPrefixOperator::BitNot},
};

[[noreturn]] void ParseError(const std::string& message) {
    throw EVorlixError("Parse error: " + message);
}

// One level of nesting for as long as it lives; refuses to go deeper than TEvaluator::MaxNesting,
// so that a hostile expression cannot exhaust the stack.
class TNestingLevel {
public:
    explicit TNestingLevel(int& depth) : FDepth(depth) {
        if (FDepth == TEvaluator::MaxNesting) {
            ParseError("Expression too deeply nested");
        }
        ++FDepth;
    }
    ~TNestingLevel() { --FDepth; }
    TNestingLevel(const TNestingLevel&) = delete;
    TNestingLevel& operator=(const TNestingLevel&) = delete;

private:
    int& FDepth;
};

// Recursive descent over the grammar, lowest precedence first, evaluating while it reads.
class TExpressionParser {
public:
    TExpressionParser(TExpressionLexer& lexer, const TEasyEvaluator& symbols)
        : FLexer(lexer), FSymbols(symbols) {}

    long double Parse() {
        FLexer.Next();
        const long double value = Expression();
        if (Token().Kind != TTokenKind::End) {
            UnknownSymbol(FLexer.LastSymbol());
        }
        return value;
    }

private:
    const TExpressionToken& Token() const { return FLexer.Token(); }

    template <typename TOperator>
    std::optional<TOperator> MatchOperator(std::span<const TSpelling<TOperator>> spellings) const {
        for (const auto& spelling : spellings) {
            if (Token().Is(spelling.Text)) {
                return spelling.Operator;
            }
        }
        return std::nullopt;
    }

    // operand { operator operand }, left-associative; both operands are always evaluated.
    long double LeftAssociative(std::span<const TBinarySpelling> operators,
                                long double (TExpressionParser::*operand)()) {
        long double value = (this->*operand)();
        while (const std::optional<TExpressionOperator> op = MatchOperator(operators)) {
            FLexer.Next();
            value = ApplyOperator(*op, value, (this->*operand)());
        }
        return value;
    }

    long double Expression() {
        return LeftAssociative(RelationalOperators, &TExpressionParser::SimpleExpression);
    }
    long double SimpleExpression() { return LeftAssociative(AddingOperators, &TExpressionParser::Term); }
    long double Term() { return LeftAssociative(MultiplyingOperators, &TExpressionParser::SignedFactor); }

    long double SignedFactor() {
        const std::optional<TPrefixOperator> op = MatchOperator<TPrefixOperator>(PrefixOperators);
        if (!op) {
            return Factor();
        }
        const TNestingLevel level(FDepth);
        FLexer.Next();
        return ApplyPrefixOperator(*op, SignedFactor());
    }

    long double Factor() {
        switch (Token().Kind) {
        case TTokenKind::Number: {
            const long double value = Token().Value;
            FLexer.Next();
            return value;
        }
        case TTokenKind::Identifier:
            return FunctionCall();
        default:
            if (!Token().Is("(")) {
                ParseError("Factor expected");
            }
            return Parenthesized();
        }
    }

    long double Parenthesized() { return Enclosed("')' expected"); }

    // At an opening parenthesis: the expression up to its closing one, one level deeper.
    long double Enclosed(const char* closingMissing) {
        const TNestingLevel level(FDepth);
        FLexer.Next();
        const long double value = Expression();
        if (!Token().Is(")")) {
            ParseError(closingMissing);
        }
        FLexer.Next();
        return value;
    }

    long double FunctionCall() {
        const TEvaluatorFunction* function = FSymbols.FindFunc(Token().Text);
        if (function == nullptr) {
            UnknownSymbol(Token().Text);
        }
        FLexer.Next();
        if (!Token().Is("(")) {
            ParseError("'(' and function's first parameter expected");
        }
        const long double argument = Enclosed("')' to close function's parameters expected");
        return CheckedResult((*function)(AsDouble(argument)));
    }

    // Functions take a 64-bit double.
    static double AsDouble(long double value) {
        if (std::fabs(value) > DBL_MAX) {
            throw EVorlixError("Floating point overflow");
        }
        return static_cast<double>(value);
    }

    [[noreturn]] static void UnknownSymbol(std::string_view symbol) {
        ParseError(SprintF("Unknown symbol: '%s'", std::string(symbol)));
    }

    TExpressionLexer& FLexer;
    const TEasyEvaluator& FSymbols;
    int FDepth = 0;
};

} // namespace

long double TEvaluator::Evaluate(std::string_view text) const {
    TExpressionLexer lexer(text, RegionalSettings().DecimalSeparator);
    return TExpressionParser(lexer, *this).Parse();
}
