#include "platform/Clock.h"

#include <atomic>
#include <chrono>
#include <ctime>

namespace {

const TSystemClock SystemClock;
std::atomic<const TClock*> CurrentClock{&SystemClock};

} // namespace

TDateTime TSystemClock::Now() const {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    TDateTimeParts parts;
    parts.Year = local.tm_year + 1900;
    parts.Month = local.tm_mon + 1;
    parts.Day = local.tm_mday;
    parts.Hour = local.tm_hour;
    parts.Minute = local.tm_min;
    parts.Second = local.tm_sec;
    parts.Millisecond = static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
    return EncodeDateTime(parts);
}

const TClock& Clock() { return *CurrentClock.load(); }

TDateTime Now() { return Clock().Now(); }

TScopedClock::TScopedClock(const TClock& clock) : FPrevious(CurrentClock.exchange(&clock)) {}

TScopedClock::~TScopedClock() { CurrentClock.store(FPrevious); }
