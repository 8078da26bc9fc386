#pragma once

#include "platform/Clock.h"

#include <atomic>
#include <cstdint>

// A clock that stands still until the test moves it; installed process-wide while it lives.
class TestClock : public TClock {
public:
    explicit TestClock(TDateTime start = EncodeDateTime({2026, 12, 9, 12, 0, 0, 0}))
        : FMsecs(DateTimeToMSecs(start)), FInstalled(*this) {}

    TDateTime Now() const override { return MSecsToDateTime(FMsecs.load()); }
    void Advance(std::int64_t msecs) { FMsecs += msecs; }
    void Set(TDateTime value) { FMsecs = DateTimeToMSecs(value); }

private:
    std::atomic<std::int64_t> FMsecs;
    TScopedClock FInstalled;
};

// 14 March 2026, 12:30:15.250.
inline TDateTime SomeMoment() { return EncodeDateTime({2026, 3, 14, 12, 30, 15, 250}); }
