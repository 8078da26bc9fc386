#pragma once

#include "datasources/Evaluator.h"

// The evaluator the expression sources share. It knows one function, DaysSince(x): the whole days
// between the date-time serial number x and now, counted to the millisecond, never negative.
class TGlobalEvaluator : public TEvaluator {
public:
    TGlobalEvaluator();
};

// The one evaluator of the process, created on first use.
TGlobalEvaluator& GlobalEvaluator();
