#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

// One persisted field of the record class T: its JSON key and the member that holds it.
// A record class describes itself for the list document with
//   static constexpr std::string_view UnitName, ClassName;
//   static std::span<const TRecordField<T>> Fields();   // in JSON order
template <typename T> struct TRecordField {
    std::string_view Key;
    std::variant<std::string T::*, bool T::*, std::uint8_t T::*, std::uint16_t T::*, std::uint32_t T::*>
        Member;
};

// Copies every described field of `source` into `dest`, without setters.
template <typename T> void CopyFields(const T& source, T& dest) {
    for (const TRecordField<T>& field : T::Fields()) {
        std::visit([&](auto member) { dest.*member = source.*member; }, field.Member);
    }
}
