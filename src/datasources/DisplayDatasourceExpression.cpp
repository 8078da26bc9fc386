#include "datasources/DisplayDatasourceExpression.h"

#include "datasources/GlobalEvaluator.h"
#include "platform/NumberText.h"
#include "platform/VorlixError.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace {

std::size_t CharacterCount(const std::string& utf8) {
    return static_cast<std::size_t>(std::ranges::count_if(utf8, [](char c) { return (c & 0xC0) != 0x80; }));
}

} // namespace

TDisplayDatasourceExpression::TDisplayDatasourceExpression(const std::string& name,
                                                           const std::string& configuration)
    : TDisplayDataSourceBase("TDisplayDatasourceExpression", name) {
    Value.SetLineBreak({});
    Value.SetStrictDelimiter(true);
    TDisplayDatasourceExpression::Reinitialize(configuration);
}

void TDisplayDatasourceExpression::Reinitialize(const std::string& configuration) {
    FVariables.clear();
    for (std::size_t open = configuration.find('['); open != std::string::npos;) {
        const std::size_t close = configuration.find(']', open);
        if (close == std::string::npos) {
            break;
        }
        FVariables.push_back(StripBrackets(configuration.substr(open, close - open)));
        open = configuration.find('[', close + 1);
    }
    Expression = configuration;
    FindReferences();
    TDisplayDataSourceBase::Reinitialize(configuration);
}

// Where each name occurs in brackets. A name holds no "]", so each of its occurrences ends at the
// first "]" after its "["; only a text of a name's length is looked up, so that a run of "[" costs
// no more than its length.
void TDisplayDatasourceExpression::FindReferences() {
    FNames.clear();
    FReferences.clear();
    std::unordered_map<std::string, std::size_t> numbers;
    std::unordered_set<std::size_t> lengths;
    for (const std::string& name : FVariables) {
        if (numbers.emplace(name, FNames.size()).second) {
            FNames.push_back(name);
            lengths.insert(name.size());
        }
    }
    std::size_t close = 0;
    for (std::size_t open = Expression.find('['); open != std::string::npos;) {
        if (close <= open && (close = Expression.find(']', open)) == std::string::npos) {
            break;
        }
        const std::size_t length = close - open - 1;
        const auto number =
            lengths.contains(length) ? numbers.find(Expression.substr(open + 1, length)) : numbers.end();
        if (number == numbers.end()) {
            open = Expression.find('[', open + 1);
            continue;
        }
        FReferences.push_back({open, close + 1, number->second});
        open = Expression.find('[', close + 1);
    }
}

bool TDisplayDatasourceExpression::RefreshData() {
    const bool due = TDisplayDataSourceBase::RefreshData();
    if (!due || !FetchDisplayHandler()) {
        return due;
    }
    if (CharacterCount(Expression) > MaxExpressionLength) {
        Value.SetText("Error while evaluating:Expression too long");
        return true;
    }
    const std::string expression = Substituted();
    try {
        Value.SetText(FloatToText(GlobalEvaluator().Evaluate(expression)));
    } catch (const EVorlixError& error) {
        LogErrorFmt("Error while evaluating:%s", error.what());
        Value.SetText(SprintF("Error while evaluating:%s", error.what()));
    }
    return true;
}

// The expression with every bracketed name replaced by a number taken from the source of that name,
// each name looked up once.
std::string TDisplayDatasourceExpression::Substituted() const {
    std::vector<std::string> replacements;
    replacements.reserve(FNames.size());
    for (const std::string& name : FNames) {
        replacements.push_back(ReplacementFor(name));
    }
    std::string expression;
    std::size_t copied = 0;
    for (const TReference& reference : FReferences) {
        expression.append(Expression, copied, reference.Start - copied).append(replacements[reference.Name]);
        copied = reference.End;
    }
    return expression.append(Expression, copied);
}

std::string TDisplayDatasourceExpression::ReplacementFor(const std::string& sourceName) const {
    const TDisplayDataSourceBase* source = FetchDisplayHandler()(sourceName);
    if (source == nullptr) {
        return "0";
    }
    switch (source->ValueType()) {
    case ValueType_Numeric:
        return std::to_string(source->AsInteger(0, -1));
    case ValueType_Date:
    case ValueType_Time:
        return FloatToText(source->AsDateTime(0, 0));
    case ValueType_Text:
        break;
    }
    return "0";
}
