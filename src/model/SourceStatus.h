#pragma once

#include "platform/DateTime.h"

#include <cstdint>
#include <string>

// What the collection passes have seen of one data source, for reports to the outside.
struct TSourceStatus {
    // When the value the displays get last changed; 0 while it never had one.
    TDateTime Changed = 0;
    // The failure of the latest refresh that failed, until a refresh produces data again.
    std::string LastError;
    std::uint64_t ErrorCount = 0;
    // The value text last handed to the clients, to tell a change from a republication.
    std::string PublishedText;
};
