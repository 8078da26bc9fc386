#include "datasources/ExpressionLexer.h"

#include "platform/Encoding.h"
#include "platform/NumberText.h"
#include "platform/SprintF.h"
#include "platform/VorlixError.h"

#include <string>
#include <utility>

namespace {

constexpr std::pair<char32_t, char32_t> IdentifierRanges[] = {
    {'0', '9'},       {'A', 'Z'},       {'a', 'z'},       {'_', '_'},
    {0xB7, 0xB7},     {0xC0, 0xD6},     {0xD8, 0xF6},     {0xF8, 0x37D},
    {0x37F, 0x1FFF},  {0x200C, 0x200D}, {0x203F, 0x2040}, {0x2070, 0x218F},
    {0x2C00, 0x2FEF}, {0x3001, 0xD7FF}, {0xF900, 0xFDCF}, {0xFDF0, 0xFFFD},
};

bool IsIdentifierCharacter(char32_t c) {
    for (const auto& [first, last] : IdentifierRanges) {
        if (c >= first && c <= last) {
            return true;
        }
    }
    return false;
}

bool IsIdentifierStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

} // namespace

TExpressionLexer::TExpressionLexer(std::string_view text, char decimalSeparator)
    : FText(text), FDecimalSeparator(decimalSeparator) {}

void TExpressionLexer::Next() {
    SkipBlanks();
    if (FPos == FText.size()) {
        SetToken(TTokenKind::End, FPos);
    } else if (IsDigit(Peek())) {
        ReadNumber();
    } else if (IsIdentifierStart(Peek())) {
        ReadIdentifier();
    } else {
        ReadSymbol();
    }
}

void TExpressionLexer::SkipBlanks() {
    while (FPos < FText.size() && IsBlank(FText[FPos])) {
        ++FPos;
    }
}

void TExpressionLexer::SkipDigits() {
    while (IsDigit(Peek())) {
        ++FPos;
    }
}

void TExpressionLexer::ReadNumber() {
    const std::size_t start = FPos;
    SkipDigits();
    if (Peek() == '.' || Peek() == FDecimalSeparator) {
        ++FPos;
        SkipDigits();
    }
    if (Peek() == 'e' || Peek() == 'E') {
        ++FPos;
        if (Peek() == '+' || Peek() == '-') {
            ++FPos;
        }
        SkipDigits();
    }
    SetToken(TTokenKind::Number, start);
    if (!TryTextToFloat(FToken.Text, FDecimalSeparator, FToken.Value)) {
        throw EVorlixError(SprintF("'%s' is not a valid floating point value", std::string(FToken.Text)));
    }
}

void TExpressionLexer::ReadIdentifier() {
    const std::size_t start = FPos;
    while (FPos < FText.size()) {
        if (const char c = FText[FPos]; static_cast<unsigned char>(c) < 0x80) {
            if (!IsIdentifierStart(c) && !IsDigit(c)) {
                break;
            }
            ++FPos;
            continue;
        }
        const auto sequence = Utf8SequenceAt(FText, FPos);
        if (!sequence || !IsIdentifierCharacter(sequence->first)) {
            break;
        }
        FPos += sequence->second;
    }
    SetToken(TTokenKind::Identifier, start);
}

void TExpressionLexer::ReadSymbol() {
    const std::size_t start = FPos;
    const std::string_view pair = FText.substr(FPos, 2);
    if (pair == "<=" || pair == "<>" || pair == ">=") {
        FPos += 2;
    } else {
        const auto sequence = Utf8SequenceAt(FText, FPos);
        FPos += sequence ? sequence->second : 1;
    }
    SetToken(TTokenKind::Symbol, start);
}

char TExpressionLexer::Peek() const {
    return FPos < FText.size() ? FText[FPos] : '\0';
}

void TExpressionLexer::SetToken(TTokenKind kind, std::size_t start) {
    FToken = {kind, FText.substr(start, FPos - start), 0};
    if (kind == TTokenKind::Number || kind == TTokenKind::Identifier) {
        FLastSymbol = FToken.Text;
    }
}
