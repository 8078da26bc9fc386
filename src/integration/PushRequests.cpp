#include "integration/PushRequests.h"

#include "config/JsonText.h"
#include "datasources/ValueList.h"
#include "platform/SprintF.h"
#include "platform/VorlixError.h"
#include "rows/ConfigurationRow.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

namespace {

using json = nlohmann::ordered_json;

json ReadObject(std::string_view body) {
    if (body.size() > MaxRequestBytes) {
        throw EVorlixError(SprintF("The request is larger than %d bytes", static_cast<int>(MaxRequestBytes)));
    }
    json document;
    try {
        document = ParseJsonText(body);
    } catch (const EVorlixError&) {
        throw EVorlixError("The request is not a JSON object");
    }
    if (!document.is_object()) {
        throw EVorlixError("The request is not a JSON object");
    }
    return document;
}

// A text shown on a display travels inside one command line, where '|' would start the next
// command and a control character would break the line.
std::string DisplayableText(const json& value, const char* member) {
    if (!value.is_string()) {
        throw EVorlixError(SprintF("\"%s\" must be a text", member));
    }
    std::string text = value.get<std::string>();
    if (std::ranges::any_of(text, [](char c) { return c == '|' || static_cast<unsigned char>(c) < 0x20; })) {
        throw EVorlixError(SprintF("\"%s\" must not hold '|' or control characters", member));
    }
    return text;
}

void RejectOtherMembers(const json& document, std::initializer_list<std::string_view> known) {
    for (const auto& [key, value] : document.items()) {
        if (std::ranges::find(known, key) == known.end()) {
            throw EVorlixError(SprintF("Unknown member \"%s\"", key));
        }
    }
}

std::uint32_t WholeNumberIn(const json& document, const char* member, std::uint32_t low, std::uint32_t high,
                            std::uint32_t otherwise) {
    const auto found = document.find(member);
    if (found == document.end()) {
        return otherwise;
    }
    if (!found->is_number_integer() || found->get<std::int64_t>() < low ||
        found->get<std::int64_t>() > high) {
        throw EVorlixError(SprintF("\"%s\" must be a whole number from %d to %d", member,
                                   static_cast<int>(low), static_cast<int>(high)));
    }
    return found->get<std::uint32_t>();
}

} // namespace

std::vector<std::string> SourceValueLines(const std::string& text) {
    TValueList value;
    value.SetText(text);
    std::vector<std::string> lines;
    for (const std::string& line : value.Lines()) {
        lines.push_back(DisplayableText(line, "value"));
    }
    return lines;
}

std::vector<std::string> ReadSourceValue(std::string_view body) {
    const json document = ReadObject(body);
    RejectOtherMembers(document, {"value", "lines"});
    const bool hasValue = document.contains("value");
    if (hasValue == document.contains("lines")) {
        throw EVorlixError("The request needs either \"value\" or \"lines\"");
    }
    std::vector<std::string> lines;
    if (hasValue) {
        if (!document["value"].is_string()) {
            throw EVorlixError("\"value\" must be a text");
        }
        return SourceValueLines(document["value"].get<std::string>());
    }
    if (!document["lines"].is_array()) {
        throw EVorlixError("\"lines\" must be a list of texts");
    }
    for (const json& line : document["lines"]) {
        lines.push_back(DisplayableText(line, "lines"));
    }
    return lines;
}

std::unique_ptr<TConfigurationRow> ReadNotification(std::string_view body) {
    const json document = ReadObject(body);
    RejectOtherMembers(document, {"text", "area", "align", "color", "background", "scroll", "ms"});
    if (!document.contains("text")) {
        throw EVorlixError("The request needs \"text\"");
    }
    auto row = std::make_unique<TConfigurationRow>(TConfigurationRow::NewDefault());
    row->Text = DisplayableText(document["text"], "text");
    row->SetSize(static_cast<std::uint8_t>(
        WholeNumberIn(document, "area", 0, TCBFontSize_Small_Lower_Right, row->Size())));
    row->SetAlign(
        static_cast<std::uint8_t>(WholeNumberIn(document, "align", 0, TCBFontAlign_Center, row->Align())));
    row->SetForegroundColor(static_cast<std::uint8_t>(
        WholeNumberIn(document, "color", 0, TCBColor_Yellow, row->ForegroundColor())));
    row->SetBackgroundColor(static_cast<std::uint8_t>(
        WholeNumberIn(document, "background", 0, TCBColor_Yellow, row->BackgroundColor())));
    row->SetScrollspeed(static_cast<std::uint8_t>(
        WholeNumberIn(document, "scroll", 0, TConfigurationRow::MaxScrollspeed, row->Scrollspeed())));
    row->Timeout = WholeNumberIn(document, "ms", 1, TConfigurationRow::MaxTimeout, row->Timeout);
    return row;
}
