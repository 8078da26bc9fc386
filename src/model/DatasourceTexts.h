#pragma once

#include <array>
#include <string>
#include <vector>

class TDisplayDataSourceBase;
class TLocalViewModel;

// How the pages show data sources.

// The label of a kind of data source ("Statiskt värde", ...) and of a value type ("Datum", ...);
// a code without a label shows as its number.
std::string DatasourceTypeLabel(int code);
std::string ValueTypeLabel(int code);

// The source's value lines, each followed by CR LF.
std::string DatasourceValueText(const TDisplayDataSourceBase& source);

// An entry of the row editor's source list: "name|description", or the name alone.
std::string DatasourceEntryText(const TDisplayDataSourceBase& source);

// The value text of the source named `name`, or "Hittar ej <name>" when the model has none.
std::string DatasourceQueryText(const TLocalViewModel& model, const std::string& name);

// The sources the operator may change, in the model's order.
std::vector<TDisplayDataSourceBase*> ChangeableDatasources(const TLocalViewModel& model);

// The columns of the data-source page: name, description, kind, value type and value.
using TDatasourceColumns = std::array<std::string, 5>;
TDatasourceColumns DatasourceColumns(const TDisplayDataSourceBase& source);
