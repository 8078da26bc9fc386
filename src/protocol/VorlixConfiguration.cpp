#include "protocol/VorlixConfiguration.h"

#include "platform/NumberText.h"
#include "platform/SprintF.h"
#include "protocol/ConfigString.h"

#include <algorithm>
#include <array>
#include <optional>

namespace {

using TPart = TVorlix3Configuration::TVorlix3ConfigurationPart;

// The options an area recognises, in the order they are taken out of a segment and written back.
constexpr std::array<std::string_view, 13> OptionKeys = {"-sg", "-f",  "-cf", "-cb",  "-sad", "-sva", "-sha",
                                                         "-r",  "-sr", "-ss", "-nss", "-sfm", "-t"};
constexpr std::string_view GeometryKey = "-sg";
constexpr std::string_view TextKey = "-t";
constexpr std::string_view Selector = "-sc";
constexpr char Quote = '"';

std::optional<std::size_t> ReadAreaNumber(std::string_view text) {
    const std::optional<int> number = WholeNumber<int>(text);
    if (!number || *number < 0 || *number >= static_cast<int>(TVorlix3Configuration::AreaCount)) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(*number);
}

// Removes every `c` at both ends.
std::string_view Trim(std::string_view text, char c) {
    const std::size_t first = text.find_first_not_of(c);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(c) - first + 1);
}

std::vector<std::string_view> SplitAt(std::string_view text, char separator) {
    std::vector<std::string_view> items;
    std::size_t begin = 0;
    for (std::size_t end = text.find(separator); end != std::string_view::npos;
         end = text.find(separator, begin)) {
        items.push_back(text.substr(begin, end - begin));
        begin = end + 1;
    }
    items.push_back(text.substr(begin));
    return items;
}

// Every selector "-scN" for an area N (with no further digit) becomes "N,0,0,1:", so that a raw
// segment reads as a VD-protocol segment in use. The whole string is rewritten, text values too.
std::string RewriteSelectors(std::string_view text) {
    std::string result;
    std::size_t pos = 0;
    for (std::size_t found = text.find(Selector); found != std::string_view::npos;
         found = text.find(Selector, pos)) {
        const std::size_t digitsBegin = found + Selector.size();
        const std::size_t digitsEnd =
            std::min(text.find_first_not_of("0123456789", digitsBegin), text.size());
        const std::string_view digits = text.substr(digitsBegin, digitsEnd - digitsBegin);
        const std::optional<std::size_t> area = ReadAreaNumber(digits);
        if (area && SprintF("%d", *area) == digits) {
            result += text.substr(pos, found - pos);
            result += SprintF("%d,0,0,1:", *area);
            pos = digitsEnd;
        } else {
            result += text.substr(pos, digitsBegin - pos);
            pos = digitsBegin;
        }
    }
    result += text.substr(pos);
    return result;
}

// The area a segment names: the number before its first comma, written in at most three characters.
std::optional<std::size_t> SegmentArea(std::string_view segment) {
    const std::size_t comma = segment.find(',');
    if (comma == std::string_view::npos || comma > 3) {
        return std::nullopt;
    }
    return ReadAreaNumber(segment.substr(0, comma));
}

// A value runs to the next blank; one that begins with a double quote runs to the closing quote,
// or to the end of the text when there is none, so that a quoted text keeps its blanks.
std::size_t OptionValueEnd(std::string_view text, std::size_t valueBegin) {
    if (valueBegin < text.size() && text[valueBegin] == Quote) {
        const std::size_t closing = text.find(Quote, valueBegin + 1);
        return closing == std::string_view::npos ? text.size() : closing + 1;
    }
    return std::min(text.find(' ', valueBegin), text.size());
}

} // namespace

void TPart::Reset() {
    FState = 0;
    FVDColorIndex = 0;
    FVDVariablesIndex = 0;
    FExtraData.clear();
}

void TPart::Reinitialize(std::string_view configuration) {
    const std::size_t colon = configuration.find(':');
    const bool hasHead = colon != std::string_view::npos;
    ReadNumbers(hasHead ? configuration.substr(0, colon) : std::string_view());
    std::string rest(hasHead ? configuration.substr(colon + 1) : configuration);
    FCurrentParsed.clear();
    for (const std::string_view key : OptionKeys) {
        ExtractOption(key, rest);
    }
    FExtraData = Trim(rest, ' ');
}

// Area number, variables index, colour index and state, in this order; each keeps its low 8 bits.
void TPart::ReadNumbers(std::string_view head) {
    const std::array<std::uint8_t*, 4> fields = {&FDisplayIndex, &FVDVariablesIndex, &FVDColorIndex, &FState};
    const std::vector<std::string_view> numbers = SplitAt(head, ',');
    for (std::size_t i = 0; i < std::min(numbers.size(), fields.size()); ++i) {
        if (const std::optional<int> number = WholeNumber<int>(numbers[i])) {
            *fields[i] = static_cast<std::uint8_t>(*number);
        }
    }
}

// Takes the first occurrence of the key, wherever it stands, and its value out of the text; the
// blank after them stays. A key without a value is dropped; a value is kept without its quotes.
void TPart::ExtractOption(std::string_view searchKey, std::string& text) {
    const std::size_t keyPos = text.find(searchKey);
    if (keyPos == std::string::npos) {
        return;
    }
    const std::size_t valueBegin = keyPos + searchKey.size();
    const std::size_t valueEnd = OptionValueEnd(text, valueBegin);
    const std::string_view value = std::string_view(text).substr(valueBegin, valueEnd - valueBegin);
    if (!value.empty()) {
        FCurrentParsed.insert_or_assign(std::string(searchKey), std::string(Trim(value, Quote)));
    }
    text.erase(keyPos, valueEnd - keyPos);
}

std::string TPart::GetConfiguration(TVorlixConfigstringType configType) const {
    if (configType == vcRaw) {
        return SprintF("-sc%d %s", FDisplayIndex, GetOptionsString());
    }
    return SprintF("%d,%d,%d,%d:%s", FDisplayIndex, FVDVariablesIndex, FVDColorIndex, FState,
                   GetOptionsString());
}

// Each option as a blank, the key and the value, the text in double quotes.
std::string TPart::GetOptionsString() const {
    std::string options;
    for (const std::string_view key : OptionKeys) {
        const auto option = FCurrentParsed.find(key);
        if (option == FCurrentParsed.end()) {
            continue;
        }
        options += ' ';
        options += key;
        options += key == TextKey ? Quote + option->second + Quote : option->second;
    }
    return options;
}

std::uint8_t TPart::GetByteOption(std::string_view key) const {
    const auto option = FCurrentParsed.find(key);
    if (option == FCurrentParsed.end()) {
        return 0;
    }
    const std::optional<int> number = WholeNumber<int>(option->second);
    return number ? static_cast<std::uint8_t>(*number) : 0;
}

void TPart::SetByteOption(std::string_view key, std::uint8_t value) {
    SetOption(key, SprintF("%d", value));
}

void TPart::SetOption(std::string_view key, std::string value) {
    FCurrentParsed.insert_or_assign(std::string(key), std::move(value));
    Changed();
}

std::string TPart::Text() const {
    const auto option = FCurrentParsed.find(TextKey);
    return option == FCurrentParsed.end() ? std::string() : option->second;
}

void TPart::SetText(std::string text) {
    SetOption(TextKey, std::move(text));
}

void TPart::SetExtraData(std::string extraData) {
    FExtraData = std::move(extraData);
    Changed();
}

// "-sg" holds left, top, width and height.
TRect TPart::ClientRect() const {
    const auto option = FCurrentParsed.find(GeometryKey);
    if (option == FCurrentParsed.end()) {
        return {};
    }
    const std::vector<std::string_view> items = SplitAt(option->second, ',');
    if (items.size() != 4) {
        return {};
    }
    std::array<long long, 4> numbers{};
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::optional<int> number = WholeNumber<int>(Trim(items[i], ' '));
        if (!number) {
            return {};
        }
        numbers[i] = *number;
    }
    const auto [left, top, width, height] = numbers;
    if (!std::in_range<int>(left + width) || !std::in_range<int>(top + height)) {
        return {};
    }
    return {static_cast<int>(left), static_cast<int>(top), static_cast<int>(left + width),
            static_cast<int>(top + height)};
}

void TPart::SetClientRect(const TRect& rect) {
    const long long width = static_cast<long long>(rect.Right) - rect.Left;
    const long long height = static_cast<long long>(rect.Bottom) - rect.Top;
    SetOption(GeometryKey, SprintF("%d,%d,%d,%d", rect.Left, rect.Top, width, height));
}

void TPart::Changed() const {
    if (FOnChangeConfig) {
        FOnChangeConfig(*this);
    }
}

TVorlix3Configuration::TVorlix3Configuration() {
    FDisplayParts.reserve(AreaCount);
    for (std::size_t area = 0; area < AreaCount; ++area) {
        TPart& part = FDisplayParts.emplace_back(static_cast<std::uint8_t>(area));
        part.SetOnChangeConfig([this](const TPart&) { HandlePartChange(); });
    }
}

void TVorlix3Configuration::Reinitialize(std::string_view configuration) {
    const std::string work = RewriteSelectors(configuration);
    for (TPart& part : FDisplayParts) {
        part.Reset();
    }
    if (configuration.empty()) {
        return;
    }
    for (const std::string& segment : SplitConfigString(Trim(work, Quote))) {
        if (const std::optional<std::size_t> area = SegmentArea(segment)) {
            FDisplayParts[*area].Reinitialize(segment);
        }
    }
}

std::string TVorlix3Configuration::GetConfiguration(TVorlixConfigstringType configType) const {
    std::string result;
    for (const TPart& part : FDisplayParts) {
        if (part.State() != 0) {
            result += ConfigStringSeparator;
            result += part.GetConfiguration(configType);
        }
    }
    return std::string(Trim(result, ConfigStringSeparator));
}

void TVorlix3Configuration::HandlePartChange() const {
    if (FOnChangeConfig) {
        FOnChangeConfig(*this);
    }
}
