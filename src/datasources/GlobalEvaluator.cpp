#include "datasources/GlobalEvaluator.h"

#include "platform/Clock.h"
#include "platform/DateTime.h"
#include "platform/VorlixError.h"

#include <cmath>

namespace {

// Serial numbers whose milliseconds, and their distance from now, fit 64 bits.
constexpr double MaxSerialDays = 1e11;

long double DaysSince(double serial) {
    if (!(std::fabs(serial) <= MaxSerialDays)) {
        throw EVorlixError("Invalid floating point operation");
    }
    return static_cast<long double>(MillisecondsBetween(serial, Now()) / MSecsPerDay);
}

} // namespace

TGlobalEvaluator::TGlobalEvaluator() {
    AddFunc("DaysSince", DaysSince);
}

TGlobalEvaluator& GlobalEvaluator() {
    static TGlobalEvaluator evaluator;
    return evaluator;
}
