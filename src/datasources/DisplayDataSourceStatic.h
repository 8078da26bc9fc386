#pragma once

#include "datasources/DisplayDataSourceBase.h"

// A fixed value, republished on every refresh. "now()" stands for today's date or the current time
// when the value type is a date or a time.
class TDisplayDataSourceStatic : public TDisplayDataSourceBase {
public:
    TDisplayDataSourceStatic(const std::string& name, const std::string& configuration);

    int GetDataSourceType() const override { return DisplayDataSourceType_Static; }
    std::string GetConfiguration() const override { return StaticValue; }
    void Reinitialize(const std::string& configuration) override;
    bool RefreshData() override;

    std::string StaticValue;
};
