// A display's rows file: any bytes load or fail with the project's error; what loads saves and
// loads again to the same rows.

#include "FuzzFiles.h"

#include "rows/RowsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckSavedAsLoaded(
        InputText(data, size), [](const auto& path) { return ReadRowsFile(path); },
        [](const auto& path, const auto& rows) { WriteRowsFile(path, rows); });
    return 0;
}
