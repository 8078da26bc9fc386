#pragma once

#include "datasources/DisplayDataSourceBase.h"

#include <vector>

// A placeholder for values written into it from outside; it does no input or output of its own and
// publishes only when its value has changed since the last refresh.
class TDisplayDataSourceREST : public TDisplayDataSourceBase {
public:
    explicit TDisplayDataSourceREST(const std::string& name);

    int GetDataSourceType() const override { return DisplayDataSourceType_REST; }
    bool RefreshData() override;

private:
    std::vector<std::string> FPublishedLines;
};
