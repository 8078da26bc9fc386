#include "datasources/ExpressionLexer.h"

#include "platform/NumberText.h"
#include "platform/SprintF.h"
#include "platform/VorlixError.h"

#include <string>
#include <utility>

namespace {

struct TCodePoint {
    char32_t Value = 0;
    std::size_t Length = 1;
    bool Valid = false;
};

// The UTF-8 sequence at `pos`; a byte that starts no valid sequence is one invalid code point.
TCodePoint DecodeAt(std::string_view text, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) {
        return {lead, 1, true};
    }
    TCodePoint codePoint;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        codePoint = {lead & 0x1Fu, 2, true};
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        codePoint = {lead & 0x0Fu, 3, true};
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        codePoint = {lead & 0x07u, 4, true};
        minimum = 0x10000;
    } else {
        return {};
    }
    if (pos + codePoint.Length > text.size()) {
        return {};
    }
    for (std::size_t i = 1; i < codePoint.Length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80) {
            return {};
        }
        codePoint.Value = codePoint.Value << 6 | (next & 0x3Fu);
    }
    const bool surrogate = codePoint.Value >= 0xD800 && codePoint.Value <= 0xDFFF;
    if (codePoint.Value < minimum || codePoint.Value > 0x10FFFF || surrogate) {
        return {};
    }
    return codePoint;
}

constexpr std::pair<char32_t, char32_t> IdentifierRanges[] = {
    {'0', '9'},       {'A', 'Z'},       {'a', 'z'},       {'_', '_'},
    {0xB7, 0xB7},     {0xC0, 0xD6},     {0xD8, 0xF6},     {0xF8, 0x37D},
    {0x37F, 0x1FFF},  {0x200C, 0x200D}, {0x203F, 0x2040}, {0x2070, 0x218F},
    {0x2C00, 0x2FEF}, {0x3001, 0xD7FF}, {0xF900, 0xFDCF}, {0xFDF0, 0xFFFD},
};

bool IsIdentifierCharacter(const TCodePoint& codePoint) {
    if (!codePoint.Valid) {
        return false;
    }
    for (const auto& [first, last] : IdentifierRanges) {
        if (codePoint.Value >= first && codePoint.Value <= last) {
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
        const TCodePoint codePoint = DecodeAt(FText, FPos);
        if (!IsIdentifierCharacter(codePoint)) {
            break;
        }
        FPos += codePoint.Length;
    }
    SetToken(TTokenKind::Identifier, start);
}

void TExpressionLexer::ReadSymbol() {
    const std::size_t start = FPos;
    const std::string_view pair = FText.substr(FPos, 2);
    if (pair == "<=" || pair == "<>" || pair == ">=") {
        FPos += 2;
    } else {
        FPos += DecodeAt(FText, FPos).Length;
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
