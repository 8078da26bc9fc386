#pragma once

#include "platform/Clock.h"
#include "platform/DateTime.h"

#include <cstdint>

// A clock that stands still until the test moves it.
class TTestClock : public TClock {
public:
    explicit TTestClock(TDateTime now) : FNow(now) {}
    TDateTime Now() const override { return FNow; }
    void Set(TDateTime now) { FNow = now; }
    void Advance(std::int64_t msecs) { FNow = MSecsToDateTime(DateTimeToMSecs(FNow) + msecs); }

private:
    TDateTime FNow;
};

// 14 March 2026, 12:30:15.250.
inline TDateTime SomeMoment() {
    return EncodeDateTime({2026, 3, 14, 12, 30, 15, 250});
}
