// The displays file: any bytes load or fail with the project's error; what loads saves and
// loads again to the same records.

#include "FuzzFiles.h"

#include "config/ConfigurationFiles.h"
#include "config/VDisplay.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckSavedAsLoaded(
        InputText(data, size), [](const auto& path) { return ReadListFile<TVDisplay>(path); },
        [](const auto& path, const auto& list) { WriteListFile(path, list); });
    return 0;
}
