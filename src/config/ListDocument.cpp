#include "config/ListDocument.h"

#include "config/JsonText.h"
#include "platform/SprintF.h"
#include "platform/VorlixError.h"

#include <charconv>

namespace ListDocumentDetail {

namespace {

using json = nlohmann::ordered_json;

// A value as quoted in a message, shortened so that a huge value cannot flood it.
std::string ValueText(const json& value) {
    constexpr std::size_t MaxLength = 40;
    const std::string text = JsonText(value);
    return text.size() <= MaxLength ? text : text.substr(0, MaxLength) + "...";
}

[[noreturn]] void FailConversion(const json& value, std::string_view key, std::string_view kind) {
    throw EVorlixError(SprintF("The value %s of %s is not a valid %s", ValueText(value), key, kind));
}

[[noreturn]] void FailRange(const json& value, std::string_view key, std::int64_t min, std::int64_t max) {
    throw EVorlixError(
        SprintF("The value %s of %s is outside the range %d to %d", ValueText(value), key, min, max));
}

[[noreturn]] void FailMissingMember(std::string_view key, std::string_view where) {
    throw EVorlixError(SprintF("The member \"%s\" is missing in %s", key, where));
}

const json& Member(const json& object, std::string_view key, std::string_view where) {
    const auto found = object.find(key);
    if (found == object.end()) {
        FailMissingMember(key, where);
    }
    return *found;
}

// An integer written as a string, with an optional sign. Nothing else is accepted: no blanks,
// no fractions, no hexadecimal.
std::int64_t IntegerOfText(const json& value, std::string_view key, std::int64_t min, std::int64_t max) {
    std::string_view text = value.get_ref<const std::string&>();
    if (text.starts_with('+')) {
        text.remove_prefix(1);
    }
    std::int64_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error == std::errc::result_out_of_range) {
        FailRange(value, key, min, max);
    }
    if (error != std::errc() || end != text.data() + text.size()) {
        FailConversion(value, key, "integer");
    }
    return number;
}

const json& EmptyArray() {
    static const json empty = json::array();
    return empty;
}

} // namespace

json TypedObject(const std::string& type, std::size_t id, json fields) {
    json object = json::object();
    object["type"] = type;
    object["id"] = id;
    object["fields"] = std::move(fields);
    return object;
}

json ListObject(const std::string& listType, const std::string& arrayManagerType, bool ownsObjects,
                json items, std::size_t count) {
    json fields = json::object();
    fields["FOwnsObjects"] = ownsObjects;
    fields["FItems"] = std::move(items);
    fields["FCount"] = count;
    fields["FArrayManager"] = TypedObject(arrayManagerType, count + 2, json::object());
    return TypedObject(listType, 1, std::move(fields));
}

const json& ObjectFields(const json& object, const std::string& typeName) {
    if (!object.is_object()) {
        throw EVorlixError(std::string(InvalidObjectMessage));
    }
    const json& type = Member(object, "type", "an object");
    if (!type.is_string() || type.get_ref<const std::string&>() != typeName) {
        throw EVorlixError(SprintF("Internal: Cannot instantiate type %s",
                                   type.is_string() ? type.get<std::string>() : ValueText(type)));
    }
    Member(object, "id", typeName);
    const json& fields = Member(object, "fields", typeName);
    if (!fields.is_object()) {
        throw EVorlixError(SprintF("The member \"fields\" of %s is not a valid Object", typeName));
    }
    return fields;
}

void FailUnknownField(std::string_view key, std::string_view className) {
    throw EVorlixError(SprintF("Internal: Field %s cannot be found in type %s", key, className));
}

const json& TListEntries::Entry(std::size_t index) const {
    const json& entry = Items[index];
    if (entry.is_null()) {
        throw EVorlixError(SprintF("FItems[%d] is null, though FCount is %d", index, Count));
    }
    return entry;
}

TListEntries ListEntries(const json& document, const std::string& typeName, const std::string& className) {
    const json* items = &EmptyArray();
    const json* count = nullptr;
    for (const auto& [key, value] : ObjectFields(document, typeName).items()) {
        if (key == "FOwnsObjects") {
            // Read lists always own their records; the flag only has to be a valid Boolean.
            bool ignored = false;
            ReadFieldValue(value, key, ignored);
        } else if (key == "FItems") {
            if (!value.is_array() && !value.is_null()) {
                FailConversion(value, key, "array");
            }
            items = value.is_array() ? &value : items;
        } else if (key == "FCount") {
            count = &value;
        } else if (key != "FArrayManager") {
            FailUnknownField(key, className);
        }
    }
    const std::int64_t countValue =
        count ? ReadInteger(*count, "FCount", 0, static_cast<std::int64_t>(items->size())) : 0;
    return {*items, static_cast<std::size_t>(countValue)};
}

void ReadFieldValue(const json& value, std::string_view key, std::string& target) {
    if (value.is_string()) {
        target = value.get<std::string>();
    } else if (value.is_number()) {
        // A parsed number gives back the text it was written with.
        target = JsonText(value);
    } else if (value.is_null()) {
        target.clear();
    } else {
        FailConversion(value, key, "string");
    }
}

void ReadFieldValue(const json& value, std::string_view key, bool& target) {
    if (value.is_boolean()) {
        target = value.get<bool>();
    } else if (value.is_null()) {
        target = false;
    } else {
        FailConversion(value, key, "Boolean");
    }
}

std::int64_t ReadInteger(const json& value, std::string_view key, std::int64_t min, std::int64_t max) {
    std::int64_t number = 0;
    if (value.is_number_unsigned()) {
        const auto unsignedNumber = value.get<std::uint64_t>();
        if (unsignedNumber > static_cast<std::uint64_t>(max)) {
            FailRange(value, key, min, max);
        }
        number = static_cast<std::int64_t>(unsignedNumber);
    } else if (value.is_number_integer()) {
        number = value.get<std::int64_t>();
    } else if (value.is_string()) {
        number = IntegerOfText(value, key, min, max);
    } else if (!value.is_null()) {
        FailConversion(value, key, "integer");
    }
    if (number < min || number > max) {
        FailRange(value, key, min, max);
    }
    return number;
}

} // namespace ListDocumentDetail
