#pragma once

#include "datasources/DisplayDataSourceBase.h"

// The lines of a text file. The file is read on every refresh; the value is published when the
// interval has run out. Only a regular file of at most MaxInputSize bytes is read.
class TDisplayDataSourceFile : public TDisplayDataSourceBase {
public:
    TDisplayDataSourceFile(const std::string& name, const std::string& path);

    int GetDataSourceType() const override { return DisplayDataSourceType_File; }
    std::string GetConfiguration() const override { return FilePath; }
    // Takes the new path; the due time is left alone.
    void Reinitialize(const std::string& configuration) override { FilePath = configuration; }
    bool RefreshData() override;

    std::string FilePath;

private:
    void ReadLines();
};
