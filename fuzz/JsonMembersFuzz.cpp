// The JSON member reader of the JSON source: any text gives the members of one object or fails
// with the project's error.

#include "FuzzCheck.h"

#include "datasources/JsonObjectMembers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Accepted([&] {
        for (const auto& [name, member] : ReadJsonObjectMembers(std::string(InputText(data, size)))) {
            FuzzCheck(member.Kind != TJsonMember::Kind_Other || member.Text.empty(),
                      "only strings and numbers have text");
        }
    });
    return 0;
}
