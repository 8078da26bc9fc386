#include "model/DatasourceTexts.h"

#include "datasources/DisplayDataSourceBase.h"
#include "model/LocalViewModel.h"
#include "platform/SprintF.h"

#include <map>

namespace {

std::string LabelOf(const std::map<int, std::string>& labels, int code) {
    const auto found = labels.find(code);
    return found == labels.end() ? std::to_string(code) : found->second;
}

} // namespace

std::string DatasourceTypeLabel(int code) {
    static const std::map<int, std::string> labels = {
        {DisplayDataSourceType_None, "Ingen"},         {DisplayDataSourceType_Static, "Statiskt värde"},
        {DisplayDataSourceType_File, "Fil"},           {DisplayDataSourceType_REST, "R/E/S/T"},
        {DisplayDataSourceType_JSON, "JSON källa"},    {DisplayDataSourceType_SQL, "SQL Databas"},
        {DisplayDataSourceType_Expression, "Uttryck"},
    };
    return LabelOf(labels, code);
}

std::string ValueTypeLabel(int code) {
    static const std::map<int, std::string> labels = {
        {TDisplayDataSourceBase::ValueType_Text, "Fritext"},
        {TDisplayDataSourceBase::ValueType_Numeric, "Numreriskt värde"},
        {TDisplayDataSourceBase::ValueType_Date, "Datum"},
        {TDisplayDataSourceBase::ValueType_Time, "Tid"},
    };
    return LabelOf(labels, code);
}

std::string DatasourceValueText(const TDisplayDataSourceBase& source) {
    std::string text;
    for (const std::string& line : source.Value.Lines()) {
        text += line + "\r\n";
    }
    return text;
}

std::string DatasourceEntryText(const TDisplayDataSourceBase& source) {
    return source.Description().empty() ? source.Name() : source.Name() + "|" + source.Description();
}

std::string DatasourceQueryText(const TLocalViewModel& model, const std::string& name) {
    const TDisplayDataSourceBase* source = model.GetDatasourceFromCache(name);
    return source != nullptr ? DatasourceValueText(*source) : SprintF("Hittar ej %s", name);
}

std::vector<TDisplayDataSourceBase*> ChangeableDatasources(const TLocalViewModel& model) {
    std::vector<TDisplayDataSourceBase*> sources = model.GetDatasources();
    std::erase_if(sources, [](const TDisplayDataSourceBase* source) { return !source->PublicChangable(); });
    return sources;
}

TDatasourceColumns DatasourceColumns(const TDisplayDataSourceBase& source) {
    return {source.Name(), source.Description(), DatasourceTypeLabel(source.GetDataSourceType()),
            ValueTypeLabel(source.ValueType()), DatasourceValueText(source)};
}
