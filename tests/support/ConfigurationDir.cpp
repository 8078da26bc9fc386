#include "support/ConfigurationDir.h"

#include "config/ConfigurationFiles.h"
#include "rows/RowsFile.h"

TVDataSource& ConfigurationDir::AddSource(const std::string& name, int type, int valueType,
                                          const std::string& configuration) {
    auto& source = FSources.Add(std::make_unique<TVDataSource>());
    source.SetName(name);
    source.SetDataSourceType(static_cast<std::uint16_t>(type));
    source.SetValueType(static_cast<std::uint16_t>(valueType));
    source.SetConfiguration(configuration);
    return source;
}

TVDisplay& ConfigurationDir::AddDisplay(const std::string& name, int type, const std::string& settings) {
    auto& display = FDisplays.Add(std::make_unique<TVDisplay>());
    display.SetName(name);
    display.SetDisplayType(static_cast<std::uint16_t>(type));
    display.SetWidth(64);
    display.SetBrightness(50);
    display.SetDisplaySettings(settings);
    return display;
}

void ConfigurationDir::Write() const {
    WriteListFile(DataSourcesFilePath(Path()), FSources);
    WriteListFile(DisplaysFilePath(Path()), FDisplays);
}

void ConfigurationDir::WriteRows(const std::string& displayName, const TRowSendCycle::TRows& rows) const {
    WriteRowsFile(RowsFilePath(Path(), displayName), rows);
}

TRowSendCycle::TRows ConfigurationDir::ReadRows(const std::string& displayName) const {
    return ReadRowsFile(RowsFilePath(Path(), displayName));
}

std::unique_ptr<TConfigurationRow> TextRow(const std::string& text, std::uint32_t timeout) {
    return std::make_unique<TConfigurationRow>(text, TCBFontSize_Large, TCBFontAlign_Left, TCBColor_None,
                                               TCBColor_Red, timeout);
}

TRowSendCycle::TRows TextRows(const std::vector<std::string>& texts) {
    TRowSendCycle::TRows rows;
    for (const std::string& text : texts) {
        rows.push_back(TextRow(text));
    }
    return rows;
}
