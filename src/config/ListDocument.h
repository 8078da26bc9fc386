#pragma once

#include "config/BaseObjectList.h"
#include "config/RecordField.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <concepts>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <string_view>

// The list document: the JSON form of a TBaseObjectList<T> in every configuration file.
// T is a record class described as in RecordField.h.

template <typename T> std::string RecordTypeName() {
    return std::string(T::UnitName) + "." + std::string(T::ClassName);
}
template <typename T> std::string ListClassName() {
    return "TBaseObjectList<" + RecordTypeName<T>() + ">";
}
template <typename T> std::string ListTypeName() {
    return "JSONBaseObject." + ListClassName<T>();
}
template <typename T> std::string ArrayManagerTypeName() {
    return "System.Generics.Collections.TMoveArrayManager<" + RecordTypeName<T>() + ">";
}

// The class-independent steps of writing and reading a document.
namespace ListDocumentDetail {

// {"type":type,"id":id,"fields":fields}
nlohmann::ordered_json TypedObject(const std::string& type, std::size_t id, nlohmann::ordered_json fields);
nlohmann::ordered_json ListObject(const std::string& listType, const std::string& arrayManagerType,
                                  bool ownsObjects, nlohmann::ordered_json items, std::size_t count);

// The "fields" object of `object`, after checking that it is an object of type `typeName`
// carrying "type", "id" and "fields".
const nlohmann::ordered_json& ObjectFields(const nlohmann::ordered_json& object, const std::string& typeName);
[[noreturn]] void FailUnknownField(std::string_view key, std::string_view className);

// The records of a list object: its "FItems" entries up to "FCount".
struct TListEntries {
    const nlohmann::ordered_json& Items;
    std::size_t Count;

    // Entry `index` (below Count), which must not be null.
    const nlohmann::ordered_json& Entry(std::size_t index) const;
};
TListEntries ListEntries(const nlohmann::ordered_json& document, const std::string& typeName,
                         const std::string& className);

// A JSON value converted into a field; fails with a message naming the field and the value.
void ReadFieldValue(const nlohmann::ordered_json& value, std::string_view key, std::string& target);
void ReadFieldValue(const nlohmann::ordered_json& value, std::string_view key, bool& target);
std::int64_t ReadInteger(const nlohmann::ordered_json& value, std::string_view key, std::int64_t min,
                         std::int64_t max);
template <std::integral I>
void ReadFieldValue(const nlohmann::ordered_json& value, std::string_view key, I& target) {
    target = static_cast<I>(ReadInteger(value, key, std::numeric_limits<I>::min(),
                                        static_cast<std::int64_t>(std::numeric_limits<I>::max())));
}

} // namespace ListDocumentDetail

// The record object of `record`, numbered `id`.
template <typename T> nlohmann::ordered_json RecordToJson(const T& record, std::size_t id) {
    nlohmann::ordered_json fields = nlohmann::ordered_json::object();
    for (const TRecordField<T>& field : T::Fields()) {
        std::visit([&](auto member) { fields[std::string(field.Key)] = record.*member; }, field.Member);
    }
    return ListDocumentDetail::TypedObject(RecordTypeName<T>(), id, std::move(fields));
}

// A record read from its record object, or an empty record from JSON null. The fields are set
// directly, so the change flag stays clear.
template <typename T> std::unique_ptr<T> RecordFromJson(const nlohmann::ordered_json& object) {
    auto record = std::make_unique<T>();
    if (object.is_null()) {
        return record;
    }
    const auto fields = T::Fields();
    for (const auto& item : ListDocumentDetail::ObjectFields(object, RecordTypeName<T>()).items()) {
        const std::string& key = item.key();
        const nlohmann::ordered_json& value = item.value();
        const auto field = std::ranges::find(fields, key, &TRecordField<T>::Key);
        if (field == fields.end()) {
            ListDocumentDetail::FailUnknownField(key, T::ClassName);
        }
        std::visit([&](auto member) { ListDocumentDetail::ReadFieldValue(value, key, (*record).*member); },
                   field->Member);
    }
    return record;
}

// The list document of `list`; JSON null for an empty list. "FItems" has one entry per storage
// slot: the records, then nulls up to the capacity.
template <typename T> nlohmann::ordered_json ListToJson(const TBaseObjectList<T>& list) {
    if (list.Count() == 0) {
        return nullptr;
    }
    nlohmann::ordered_json items = nlohmann::ordered_json::array();
    std::size_t id = 1;
    for (const T& record : list) {
        items.push_back(RecordToJson(record, ++id));
    }
    items.insert(items.end(), list.Capacity() - list.Count(), nullptr);
    return ListDocumentDetail::ListObject(ListTypeName<T>(), ArrayManagerTypeName<T>(), list.OwnsObjects(),
                                          std::move(items), list.Count());
}

// The owning list a list document describes; an empty one for JSON null. Any fault fails the
// whole read with a message; no partial list comes back.
template <typename T> TBaseObjectList<T> ListFromJson(const nlohmann::ordered_json& document) {
    TBaseObjectList<T> list;
    if (document.is_null()) {
        return list;
    }
    const auto entries = ListDocumentDetail::ListEntries(document, ListTypeName<T>(), ListClassName<T>());
    for (std::size_t index = 0; index < entries.Count; ++index) {
        list.Add(RecordFromJson<T>(entries.Entry(index)));
    }
    return list;
}
