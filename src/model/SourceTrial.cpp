#include "model/SourceTrial.h"

#include "datasources/DisplayDataSourceBase.h"
#include "model/DatasourceTexts.h"
#include "model/LocalViewModel.h"

#include <exception>
#include <limits>

TSourceTrial::TSourceTrial(const TVDataSource& record, const TLocalViewModel& model)
    : FSource(TDisplayDataSourceBase::CreateDerived(record)) {
    if (!FSource) {
        FResult = TResult{true, "Källan av den här typen ger inget värde"};
        return;
    }
    // Due at once, and never again while the trial lasts.
    FSource->SetTimeoutMsec(std::numeric_limits<std::int32_t>::max());
    if (FSource->IsParameterDependant()) {
        FSource->SetFetchDisplayHandler(
            [&model](const std::string& name) { return model.GetDatasourceFromCache(name); });
    }
}

TSourceTrial::~TSourceTrial() = default;

std::optional<TSourceTrial::TResult> TSourceTrial::Poll() {
    if (FResult) {
        return FResult;
    }
    try {
        if (FSource->RefreshData()) {
            FResult = TResult{false, DatasourceValueText(*FSource)};
        }
    } catch (const std::exception& error) {
        FResult = TResult{true, error.what()};
    }
    return FResult;
}
