// Date and time texts: whatever reads as a date-time is written as an ISO date and time, which
// reads back to the same text; any text is a format that formats.

#include "FuzzCheck.h"

#include "platform/DateTimeText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = InputText(data, size);
    TDateTime value{};
    if (TryTextToDateTime(text, value)) {
        constexpr std::string_view iso = "yyyy-mm-dd hh:nn:ss";
        const std::string written = FormatDateTime(iso, value);
        TDateTime reread{};
        FuzzCheck(TryTextToDateTime(written, reread), "an ISO date-time reads back");
        FuzzCheck(FormatDateTime(iso, reread) == written, "an ISO date-time reads back to the same text");
        IsoDateTimeText(value);
        DateToText(value);
        TimeToText(value);
    }
    FormatDateTime(text, 46000.5);
    return 0;
}
