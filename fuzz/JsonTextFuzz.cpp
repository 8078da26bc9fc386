// JSON as the configuration files hold it: any text parses or fails with the project's error;
// what it parses to is written as text that parses to the same value.

#include "FuzzCheck.h"

#include "config/JsonText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    nlohmann::ordered_json value;
    if (!Accepted([&] { value = ParseJsonText(InputText(data, size)); })) {
        return 0;
    }
    const std::string written = JsonText(value);
    FuzzCheck(JsonText(ParseJsonText(written)) == written, "written JSON parses to the same value");
    return 0;
}
