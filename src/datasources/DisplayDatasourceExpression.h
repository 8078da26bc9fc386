#pragma once

#include "datasources/DisplayDataSourceBase.h"

#include <vector>

// A number computed from an arithmetic expression in which other sources appear by name in square
// brackets, e.g. [Counter]*2 or DaysSince([Deadline]). The result, or the evaluation error, is the
// one-line value.
class TDisplayDatasourceExpression : public TDisplayDataSourceBase {
public:
    // Longer expressions are not evaluated.
    static constexpr std::size_t MaxExpressionLength = 65534;

    TDisplayDatasourceExpression(const std::string& name, const std::string& configuration);

    int GetDataSourceType() const override { return DisplayDataSourceType_Expression; }
    std::string GetConfiguration() const override { return Expression; }
    void Reinitialize(const std::string& configuration) override;
    bool RefreshData() override;
    bool IsParameterDependant() const override { return true; }

    // The names in square brackets, in order of occurrence.
    const std::vector<std::string>& Variables() const { return FVariables; }

    // Changed only through Reinitialize, which also finds its references.
    std::string Expression;

private:
    std::string Substituted() const;
    std::string ReplacementFor(const std::string& sourceName) const;

    std::vector<std::string> FVariables;
    // A bracketed name in the expression: from its "[" to just past its "]", and which of FNames.
    struct TReference {
        std::size_t Start;
        std::size_t End;
        std::size_t Name;
    };
    void FindReferences();

    // The names of FVariables once each, in order, and where they occur.
    std::vector<std::string> FNames;
    std::vector<TReference> FReferences;
};
