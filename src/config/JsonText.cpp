#include "config/JsonText.h"

#include "platform/SprintF.h"
#include "platform/VorlixError.h"

namespace {

using TJson = nlohmann::ordered_json;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t DigitsEnd(std::string_view text, std::size_t pos) {
    while (pos < text.size() && IsDigit(text[pos])) {
        ++pos;
    }
    return pos;
}

// The length of the JSON number that starts at `pos` (optional minus, integer part without
// leading zeros, optional fraction, optional exponent), or 0 when none starts there.
std::size_t NumberLength(std::string_view text, std::size_t pos) {
    std::size_t end = pos < text.size() && text[pos] == '-' ? pos + 1 : pos;
    if (end == text.size() || !IsDigit(text[end])) {
        return 0;
    }
    end = text[end] == '0' ? end + 1 : DigitsEnd(text, end);
    if (end + 1 < text.size() && text[end] == '.' && IsDigit(text[end + 1])) {
        end = DigitsEnd(text, end + 1);
    }
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t exponent = end + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) {
            ++exponent;
        }
        if (exponent < text.size() && IsDigit(text[exponent])) {
            end = DigitsEnd(text, exponent);
        }
    }
    return end - pos;
}

// Just past the string that opens at `pos` (or the end of an unterminated one).
std::size_t StringEnd(std::string_view text, std::size_t pos) {
    for (++pos; pos < text.size(); ++pos) {
        if (text[pos] == '\\') {
            ++pos;
        } else if (text[pos] == '"') {
            return pos + 1;
        }
    }
    return text.size();
}

struct TNumberToken {
    std::size_t Start;
    std::size_t Length; // 0: no number left
};

// The first number at or after `pos` that is not inside a string.
TNumberToken NextNumberToken(std::string_view text, std::size_t pos) {
    while (pos < text.size()) {
        if (text[pos] == '"') {
            pos = StringEnd(text, pos);
        } else if (const std::size_t length = NumberLength(text, pos)) {
            return {pos, length};
        } else {
            ++pos;
        }
    }
    return {text.size(), 0};
}

// `text` with each number replaced by a zero padded with blanks to the same width, so that the
// parser never meets a number it cannot hold and every other token keeps its position. The
// numbers themselves are taken from `text` in the same order (TakeWrittenNumber).
std::string ZeroedNumbers(std::string_view text) {
    std::string zeroed(text);
    for (TNumberToken number = NextNumberToken(text, 0); number.Length > 0;
         number = NextNumberToken(text, number.Start + number.Length)) {
        zeroed.replace(number.Start, number.Length, number.Length, ' ');
        zeroed[number.Start] = '0';
    }
    return zeroed;
}

// The text of the next number in `text` from `from`, which moves past it.
std::string TakeWrittenNumber(std::string_view text, std::size_t& from) {
    const TNumberToken number = NextNumberToken(text, from);
    from = number.Start + number.Length;
    return std::string(text.substr(number.Start, number.Length));
}

// A number as the tree holds it: its value when that gives back the written text, otherwise
// the text itself.
TJson NumberValue(const std::string& written) {
    TJson value = TJson::parse(written, nullptr, false);
    if (!value.is_discarded() && JsonText(value) == written) {
        return value;
    }
    return written;
}

} // namespace

std::string JsonText(const TJson& value) {
    return value.dump(-1, ' ', false, TJson::error_handler_t::replace);
}

namespace {

// Builds the tree as the library's own builder does, which takes time in proportion to the text
// (its builder with a callback goes over an array's elements again at the end of each object),
// with the depth bound and the numbers as the written text says.
class TTreeBuilder {
public:
    using TDomParser = nlohmann::detail::json_sax_dom_parser<TJson>;

    TTreeBuilder(std::string_view text, TJson& result) : FText(text), FTree(result) {}

    bool null() { return FTree.null(); }
    bool boolean(bool value) { return FTree.boolean(value); }
    bool number_integer(TJson::number_integer_t) { return Number(); }
    bool number_unsigned(TJson::number_unsigned_t) { return Number(); }
    bool number_float(TJson::number_float_t, const TJson::string_t&) { return Number(); }
    bool string(TJson::string_t& value) { return FTree.string(value); }
    bool binary(TJson::binary_t& value) { return FTree.binary(value); }
    bool start_object(std::size_t elements) { return Open() && FTree.start_object(elements); }
    bool key(TJson::string_t& value) { return FTree.key(value); }
    bool end_object() { return Close() && FTree.end_object(); }
    bool start_array(std::size_t elements) { return Open() && FTree.start_array(elements); }
    bool end_array() { return Close() && FTree.end_array(); }
    template <typename TException>
    bool parse_error(std::size_t position, const std::string& token, const TException& error) {
        return FTree.parse_error(position, token, error);
    }

private:
    bool Open() {
        if (FDepth >= MaxJsonDepth) {
            throw EVorlixError(SprintF("The input value is nested deeper than %d levels", MaxJsonDepth));
        }
        ++FDepth;
        return true;
    }
    bool Close() {
        --FDepth;
        return true;
    }
    bool Number() {
        TJson value = NumberValue(TakeWrittenNumber(FText, FNumbersFrom));
        switch (value.type()) {
        case TJson::value_t::number_integer:
            return FTree.number_integer(value.get<TJson::number_integer_t>());
        case TJson::value_t::number_unsigned:
            return FTree.number_unsigned(value.get<TJson::number_unsigned_t>());
        case TJson::value_t::number_float:
            return FTree.number_float(value.get<TJson::number_float_t>(), {});
        default:
            return FTree.string(value.get_ref<TJson::string_t&>());
        }
    }

    const std::string_view FText;
    std::size_t FNumbersFrom = 0;
    int FDepth = 0;
    TDomParser FTree;
};

} // namespace

TJson ParseJsonText(std::string_view text) {
    TJson result;
    TTreeBuilder builder(text, result);
    try {
        TJson::sax_parse(ZeroedNumbers(text), &builder);
    } catch (const TJson::exception&) {
        throw EVorlixError(std::string(InvalidObjectMessage));
    }
    return result;
}

bool TJsonEventReader::Read(std::string_view text) {
    FText = text;
    FNumbersFrom = 0;
    return TJson::sax_parse(ZeroedNumbers(text), this);
}

bool TJsonEventReader::NextNumber() {
    return Number(TakeWrittenNumber(FText, FNumbersFrom));
}
