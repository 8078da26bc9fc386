#pragma once

#include <cstddef>
#include <string_view>

enum class TTokenKind { End, Number, Identifier, Symbol };

struct TExpressionToken {
    TTokenKind Kind = TTokenKind::End;
    // The token as written: a number, an identifier, "<=", "<>", ">=" or any other single character.
    std::string_view Text;
    // The value of a number token.
    long double Value = 0;

    // True when this is the operator or punctuation `spelling`; words compare without regard to
    // the case of ASCII letters. Inline: the parser tries every operator spelling after each operand,
    // and most differ in length or first character.
    bool Is(std::string_view spelling) const {
        if (Text.size() != spelling.size() || Text.empty() || Lower(Text[0]) != Lower(spelling[0])) {
            return false;
        }
        switch (Kind) {
        case TTokenKind::Identifier:
            for (std::size_t i = 1; i < Text.size(); ++i) {
                if (Lower(Text[i]) != Lower(spelling[i])) {
                    return false;
                }
            }
            return true;
        case TTokenKind::Symbol:
            return Text == spelling;
        default:
            return false;
        }
    }

private:
    static constexpr char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
};

// Splits an expression (UTF-8) into tokens. Numbers are written with '.' or `decimalSeparator`
// and read with `decimalSeparator`.
class TExpressionLexer {
public:
    TExpressionLexer(std::string_view text, char decimalSeparator);

    // Moves to the next token. Fails with "'%s' is not a valid floating point value" on a number
    // that the decimal separator does not read.
    void Next();
    const TExpressionToken& Token() const { return FToken; }
    // The text of the most recent number or identifier token.
    std::string_view LastSymbol() const { return FLastSymbol; }

private:
    void SkipBlanks();
    void SkipDigits();
    void ReadNumber();
    void ReadIdentifier();
    void ReadSymbol();
    char Peek() const;
    void SetToken(TTokenKind kind, std::size_t start);

    std::string_view FText;
    char FDecimalSeparator;
    std::size_t FPos = 0;
    TExpressionToken FToken;
    std::string_view FLastSymbol;
};
