#include "datasources/DisplayDataSourceJSON.h"

#include "datasources/JsonDocumentFetch.h"
#include "platform/NumberText.h"
#include "platform/QuotedText.h"

#include <algorithm>
#include <cctype>
#include <utility>
#include <vector>

namespace {

// One part starting at `position`: text up to the next bar, or, when it begins with a double quote,
// the text up to the matching closing quote (bars included, a doubled quote standing for one) and
// whatever follows up to the next bar. Also answers where the part ends.
std::pair<std::string, std::size_t> ReadPart(const std::string& text, std::size_t position) {
    std::string part;
    if (position < text.size() && text[position] == '"') {
        for (++position; position < text.size(); ++position) {
            if (text[position] != '"') {
                part += text[position];
            } else if (position + 1 < text.size() && text[position + 1] == '"') {
                part += '"';
                ++position;
            } else {
                ++position;
                break;
            }
        }
    }
    const std::size_t end = std::min(text.find('|', position), text.size());
    part += text.substr(position, end - position);
    return {part, end};
}

// Parts separated by vertical bars; a bar at the end adds an empty part, an empty text has none.
std::vector<std::string> SplitConfiguration(const std::string& text) {
    std::vector<std::string> parts;
    if (text.empty()) {
        return parts;
    }
    for (std::size_t position = 0;;) {
        auto [part, end] = ReadPart(text, position);
        parts.push_back(std::move(part));
        if (end == text.size()) {
            return parts;
        }
        position = end + 1;
    }
}

std::string ConfigurationPart(const std::string& part) {
    if (part.find('|') == std::string::npos && !part.starts_with('"')) {
        return part;
    }
    return DoubleQuoted(part);
}

bool IsPlainInteger(const std::string& written) {
    const std::size_t digits = written.starts_with('-') ? 1 : 0;
    return written.size() > digits &&
           std::all_of(written.begin() + static_cast<std::ptrdiff_t>(digits), written.end(),
                       [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; });
}

// Long integers are copied digit for digit; everything else becomes the general number text.
std::string NumberText(const std::string& written) {
    if (written.size() >= 12 && IsPlainInteger(written)) {
        return written;
    }
    long double value = 0;
    return TryTextToFloat(written, '.', value) ? FloatToText(value) : written;
}

} // namespace

TDisplayDataSourceJSON::TDisplayDataSourceJSON(const std::string& name, const std::string& configuration)
    : TDisplayDataSourceBase("TDisplayDataSourceJSON", name) {
    SetTimeoutMsec(1000);
    Value.SetLineBreak({});
    Value.SetStrictDelimiter(true);
    TDisplayDataSourceJSON::Reinitialize(configuration);
}

TDisplayDataSourceJSON::~TDisplayDataSourceJSON() = default;

std::string TDisplayDataSourceJSON::GetConfiguration() const {
    return SprintF("%s|%s", ConfigurationPart(FSource), ConfigurationPart(FAttribute));
}

void TDisplayDataSourceJSON::Reinitialize(const std::string& configuration) {
    FFetch.reset();
    const auto parts = SplitConfiguration(configuration);
    if (parts.size() > 0) {
        FSource = parts[0];
    }
    if (parts.size() > 1) {
        FAttribute = parts[1];
    }
}

void TDisplayDataSourceJSON::Reinitialize(const std::string& source, const std::string& attribute) {
    FSource = source;
    FAttribute = attribute;
    Reinitialize(GetConfiguration());
}

bool TDisplayDataSourceJSON::RefreshData() {
    if (FFetch) {
        if (!FFetch->Finished()) {
            return false;
        }
        const auto fetch = std::move(FFetch);
        TJsonDocument document = fetch->TakeDocument();
        Value.SetText(ValueText(document));
        FLastRetrievedData = std::move(document.Text);
        return true;
    }
    if (!TDisplayDataSourceBase::RefreshData()) {
        return false;
    }
    FFetch = std::make_unique<TJsonDocumentFetch>(FSource, FCaFile);
    return false;
}

std::string TDisplayDataSourceJSON::ValueText(const TJsonDocument& document) const {
    if (FAttribute.empty()) {
        return "No JSON attribute defined";
    }
    const auto member = document.Members.find(FAttribute);
    if (member == document.Members.end()) {
        return SprintF("JSON attribute %s not found in request", FAttribute);
    }
    switch (member->second.Kind) {
    case TJsonMember::Kind_String:
        return member->second.Text;
    case TJsonMember::Kind_Number:
        return NumberText(member->second.Text);
    case TJsonMember::Kind_Other:
        break;
    }
    return {};
}
