#pragma once

#include <string>
#include <unordered_map>

// A top-level member of a JSON object: a string with its escapes resolved, a number as written in
// the document, or anything else (true, false, null, an object, an array) without text.
struct TJsonMember {
    enum TKind { Kind_String, Kind_Number, Kind_Other };
    TKind Kind = Kind_Other;
    std::string Text;
};

// The top-level members of a JSON object document by name; of equal names the first one counts.
using TJsonObjectMembers = std::unordered_map<std::string, TJsonMember>;

// Reads `text` as one JSON object. Fails with the reason when it is not JSON or not an object.
// Nesting depth is not limited: the reader keeps no tree.
TJsonObjectMembers ReadJsonObjectMembers(const std::string& text);
