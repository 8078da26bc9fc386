#pragma once

#include "datasources/DisplayDataSourceJSON.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

// Refreshes `source` until a refresh answers true, which happens once its fetch in flight has
// finished; false when that takes more than 30 s. A failed fetch raises its error from here.
inline bool RefreshUntilTrue(TDisplayDataSourceJSON& source) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < deadline) {
        if (source.RefreshData()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

// Runs a due refresh of `source`, which starts its fetch, then refreshes until the fetch has been
// applied.
inline bool RefreshUntilApplied(TDisplayDataSourceJSON& source) {
    EXPECT_FALSE(source.RefreshData())
        << "a due refresh answers false and leaves the fetch to the background";
    return RefreshUntilTrue(source);
}
