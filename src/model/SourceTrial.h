#pragma once

#include "config/VDataSource.h"

#include <memory>
#include <optional>
#include <string>

class TDisplayDataSourceBase;
class TLocalViewModel;

// A source the operator is still editing, run once on its own against the model's current values,
// to show what it would give: an expression at once, a JSON source once its fetch in the
// background has finished. Nothing of it reaches the model or the displays.
class TSourceTrial {
public:
    struct TResult {
        bool Failed = false;
        // The value lines, or the failure.
        std::string Text;
    };

    TSourceTrial(const TVDataSource& record, const TLocalViewModel& model);
    ~TSourceTrial();
    TSourceTrial(const TSourceTrial&) = delete;
    TSourceTrial& operator=(const TSourceTrial&) = delete;

    // Never waits: nothing until the source has produced its value or failed, then that result,
    // again on every later call.
    std::optional<TResult> Poll();

private:
    std::unique_ptr<TDisplayDataSourceBase> FSource;
    std::optional<TResult> FResult;
};
