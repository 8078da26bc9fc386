#include "datasources/DisplayDatasourceExpression.h"

#include "datasources/GlobalEvaluator.h"
#include "platform/NumberText.h"
#include "platform/VorlixError.h"

#include <algorithm>
#include <utility>

namespace {

std::size_t CharacterCount(const std::string& utf8) {
    return static_cast<std::size_t>(std::ranges::count_if(utf8, [](char c) { return (c & 0xC0) != 0x80; }));
}

// Builds the result in one pass: replacing in place would move the rest of a long expression
// once for every occurrence.
void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
    std::size_t at = text.find(from);
    if (at == std::string::npos) {
        return;
    }
    std::string result;
    std::size_t copied = 0;
    for (; at != std::string::npos; at = text.find(from, copied)) {
        result.append(text, copied, at - copied).append(to);
        copied = at + from.size();
    }
    result.append(text, copied);
    text = std::move(result);
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
    TDisplayDataSourceBase::Reinitialize(configuration);
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

// The expression with every bracketed name replaced by a number taken from the source of that name.
std::string TDisplayDatasourceExpression::Substituted() const {
    std::string expression = Expression;
    for (const auto& name : FVariables) {
        ReplaceAll(expression, SprintF("[%s]", name), ReplacementFor(name));
    }
    return expression;
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
