// Number texts: whatever reads as a number is written as a text that reads back to the same text,
// with either decimal separator.

#include "FuzzCheck.h"

#include "platform/NumberText.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = InputText(data, size);
    for (const char separator : {'.', ','}) {
        long double value = 0;
        if (!TryTextToFloat(text, separator, value)) {
            continue;
        }
        const std::string written = FloatToText(value, separator);
        long double reread = 0;
        FuzzCheck(TryTextToFloat(written, separator, reread), "a written number reads back");
        FuzzCheck(FloatToText(reread, separator) == written, "a written number reads back to the same text");
    }
    WholeNumber<int>(text);
    WholeNumber<std::uint16_t>(text, 16);
    return 0;
}
