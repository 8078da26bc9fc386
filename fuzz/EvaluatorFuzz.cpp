// The expression language: any text gives a finite number or fails with one of its messages.

#include "FuzzCheck.h"
#include "FuzzErrors.h"

#include "datasources/GlobalEvaluator.h"
#include "platform/NumberText.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const long double value = GlobalEvaluator().Evaluate(InputText(data, size));
        FuzzCheck(std::isfinite(value), "a result is a finite number");
        long double reread = 0;
        FuzzCheck(TryTextToFloat(FloatToText(value, '.'), '.', reread), "a result's text reads as a number");
    } catch (const EVorlixError& error) {
        FuzzCheck(IsEvaluationError(error.what()), error.what());
    }
    return 0;
}
