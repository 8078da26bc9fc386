// An expression source over a few others: its value is a number or "Error while evaluating:" and
// one of the language's messages; only a date source without a date may fail the refresh.

#include "FuzzCheck.h"
#include "FuzzErrors.h"

#include "datasources/DisplayDataSourceType.h"
#include "datasources/DisplayDatasourceExpression.h"
#include "platform/NumberText.h"

#include <map>
#include <memory>

namespace {

using TSource = TDisplayDataSourceBase;

std::map<std::string, std::unique_ptr<TSource>> MakeSources() {
    const struct {
        const char* Name;
        TSource::TValueType Type;
        const char* Value;
    } sources[] = {
        {"a", TSource::ValueType_Numeric, "7"},       {"b", TSource::ValueType_Numeric, "2.5"},
        {"t", TSource::ValueType_Text, "5"},          {"d", TSource::ValueType_Date, "2026-03-04"},
        {"x", TSource::ValueType_Date, "not a date"}, {"a[b", TSource::ValueType_Numeric, "3"},
    };
    std::map<std::string, std::unique_ptr<TSource>> made;
    for (const auto& source : sources) {
        auto created =
            TSource::CreateDerived(source.Name, DisplayDataSourceType_Static, source.Value, 0, source.Type);
        created->RefreshData();
        made[source.Name] = std::move(created);
    }
    return made;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const auto sources = MakeSources();
    TDisplayDatasourceExpression expression("e", std::string(InputText(data, size)));
    expression.SetTimeoutMsec(1000);
    expression.SetFetchDisplayHandler([](const std::string& name) -> TSource* {
        const auto found = sources.find(name);
        return found == sources.end() ? nullptr : found->second.get();
    });
    if (!Accepted([&] { expression.RefreshData(); })) {
        FuzzCheck(expression.Value.Text().empty(), "a failed refresh leaves the value empty");
        return 0;
    }
    const std::string value = expression.Value.Text();
    constexpr std::string_view errorStart = "Error while evaluating:";
    long double number = 0;
    FuzzCheck(value.starts_with(errorStart)
                  ? IsEvaluationError(std::string_view(value).substr(errorStart.size()))
                  : TryTextToFloat(value, '.', number),
              "the value is a number or an evaluation error");
    return 0;
}
