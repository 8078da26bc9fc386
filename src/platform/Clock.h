#pragma once

#include "platform/DateTime.h"

// Every "now" of the core comes from here, so tests and drivers can set the time.
class TClock {
public:
    virtual ~TClock() = default;
    virtual TDateTime Now() const = 0;
};

// The local wall clock, to the millisecond.
class TSystemClock : public TClock {
public:
    TDateTime Now() const override;
};

// The process-wide clock: the system clock unless a driver or test installed another.
const TClock& Clock();
TDateTime Now();

// Installs `clock` as the process-wide clock for its lifetime, then restores the previous one.
class TScopedClock {
public:
    explicit TScopedClock(const TClock& clock);
    ~TScopedClock();
    TScopedClock(const TScopedClock&) = delete;
    TScopedClock& operator=(const TScopedClock&) = delete;

private:
    const TClock* FPrevious;
};
