#pragma once

#include "config/BaseObjectList.h"
#include "config/VDataSource.h"
#include "config/VDisplay.h"
#include "rows/RowSendCycle.h"
#include "support/TempDir.h"

#include <string>
#include <vector>

// A configuration directory in a temporary folder, written with the program's own file writers.
class ConfigurationDir {
public:
    TVDataSource& AddSource(const std::string& name, int type, int valueType,
                            const std::string& configuration);
    TVDisplay& AddDisplay(const std::string& name, int type, const std::string& settings = "");
    // Writes both configuration files.
    void Write() const;
    void WriteRows(const std::string& displayName, const TRowSendCycle::TRows& rows) const;
    TRowSendCycle::TRows ReadRows(const std::string& displayName) const;

    std::string Path() const { return FDir.Path().string(); }
    const TempDir& Dir() const { return FDir; }

private:
    TempDir FDir;
    TBaseObjectList<TVDataSource> FSources;
    TBaseObjectList<TVDisplay> FDisplays;
};

// A row showing `text` for `timeout` ms in the large area, red on nothing.
std::unique_ptr<TConfigurationRow> TextRow(const std::string& text, std::uint32_t timeout = 1000);
// A TextRow for each text, with the default time.
TRowSendCycle::TRows TextRows(const std::vector<std::string>& texts);
