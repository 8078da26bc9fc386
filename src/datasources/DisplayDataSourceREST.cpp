#include "datasources/DisplayDataSourceREST.h"

TDisplayDataSourceREST::TDisplayDataSourceREST(const std::string& name)
    : TDisplayDataSourceBase("TDisplayDataSourceREST", name) {}

bool TDisplayDataSourceREST::RefreshData() {
    if (Value.Lines() == FPublishedLines) {
        return false;
    }
    FPublishedLines = Value.Lines();
    return true;
}
