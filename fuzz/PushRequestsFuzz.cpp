// The documents of pushed values and notifications: any body is read or refused with the
// project's error.

#include "FuzzCheck.h"

#include "integration/PushRequests.h"
#include "rows/ConfigurationRow.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view body = InputText(data, size);
    Accepted([&] { ReadSourceValue(body); });
    Accepted([&] { ReadNotification(body); });
    return 0;
}
