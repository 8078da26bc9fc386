#include "BenchConfiguration.h"

#include "config/ConfigurationFiles.h"
#include "datasources/DisplayDataSourceBase.h"
#include "datasources/DisplayDataSourceType.h"
#include "platform/TextFile.h"
#include "rows/RowOptions.h"
#include "rows/RowsFile.h"

#include <algorithm>
#include <memory>

namespace {

constexpr std::uint16_t DisplayWidth = 128;

} // namespace

void TBenchConfiguration::AddSource(const std::string& name, std::uint16_t type, std::uint16_t timeoutMsec,
                                    const std::string& configuration) {
    auto& source = FSources.Add(std::make_unique<TVDataSource>());
    source.SetName(name);
    source.SetDataSourceType(type);
    source.SetValueType(TDisplayDataSourceBase::ValueType_Numeric);
    source.SetTimeout(timeoutMsec);
    source.SetConfiguration(configuration);
}

void TBenchConfiguration::AddStaticSources(int count) {
    for (int i = 0; i < count; ++i) {
        ++FStaticCount;
        AddSource("S" + std::to_string(FStaticCount), DisplayDataSourceType_Static, 0,
                  std::to_string(FStaticCount * 7));
    }
}

void TBenchConfiguration::AddFileSources(int count, std::uint16_t timeoutMsec) {
    for (int i = 0; i < count; ++i) {
        ++FFileCount;
        const std::filesystem::path file = SourceFile(FDirectory, FFileCount);
        WriteTextFile(file, std::to_string(FFileCount * 11) + "\r\nBesökare idag\r\n");
        AddSource("F" + std::to_string(FFileCount), DisplayDataSourceType_File, timeoutMsec, file.string());
    }
}

void TBenchConfiguration::AddExpressionSources(int count, std::uint16_t timeoutMsec) {
    for (int i = 0; i < count; ++i) {
        ++FExpressionCount;
        const auto nth = [&](const char* prefix, int available, int offset) {
            return "[" + std::string(prefix) + std::to_string((FExpressionCount + offset) % available + 1) +
                   "]";
        };
        AddSource("E" + std::to_string(FExpressionCount), DisplayDataSourceType_Expression, timeoutMsec,
                  "(" + nth("S", FStaticCount, 0) + " + " + nth("F", FFileCount, 0) + ") * 3 div (" +
                      nth("S", FStaticCount, 1) + " mod 5 + 1)");
    }
}

TVDisplay& TBenchConfiguration::AddDisplay(TDisplayType displayType, const std::string& settings) {
    auto& display = FDisplays.Add(std::make_unique<TVDisplay>());
    display.SetName(DisplayName(static_cast<int>(FDisplays.Count())));
    display.SetDisplayType(displayType);
    display.SetWidth(DisplayWidth);
    display.SetDisplaySettings(settings);
    return display;
}

void TBenchConfiguration::AddDisplay(const std::string& address, int rows, std::uint32_t displayTimeMsec) {
    AddDisplay(DisplayType_Vorlix3Ip, address);
    const int number = static_cast<int>(FDisplays.Count());
    TRowSendCycle::TRows& displayRows = FRows.emplace_back();
    for (int row = 1; row <= rows; ++row) {
        const bool fixed = row % 2 == 1 || FSources.Count() == 0;
        auto& added = displayRows.emplace_back(std::make_unique<TConfigurationRow>(
            fixed ? RowText(number, row) : FSources[static_cast<std::size_t>(row) % FSources.Count()].Name(),
            fixed ? TCBFontSize_Small_Upper : TCBFontSize_Small_Lower, 2, 0, 1, displayTimeMsec));
        added->TextIsParameter = !fixed;
    }
}

void TBenchConfiguration::AddDisplay(TDisplayType displayType, const std::string& settings, int rows,
                                     std::uint32_t displayTimeMsec, std::size_t rowLength) {
    AddDisplay(displayType, settings);
    const int number = static_cast<int>(FDisplays.Count());
    TRowSendCycle::TRows& displayRows = FRows.emplace_back();
    for (int row = 1; row <= rows; ++row) {
        std::string text = RowText(number, row);
        text.resize(std::max(rowLength, text.size()), 'x');
        displayRows.emplace_back(
            std::make_unique<TConfigurationRow>(text, TCBFontSize_Small_Upper, 2, 0, 1, displayTimeMsec));
    }
}

void TBenchConfiguration::Write() const {
    const std::string directory = FDirectory.string();
    WriteListFile(DataSourcesFilePath(directory), FSources);
    WriteListFile(DisplaysFilePath(directory), FDisplays);
    for (std::size_t i = 0; i < FDisplays.Count(); ++i) {
        WriteRowsFile(RowsFilePath(directory, FDisplays[i].Name()), FRows[i]);
    }
}

std::filesystem::path TBenchConfiguration::SourceFile(const std::filesystem::path& directory, int number) {
    return directory / ("F" + std::to_string(number) + ".txt");
}

std::string TBenchConfiguration::RowText(int display, int row) {
    return "Rad " + std::to_string(row) + ", skylt " + std::to_string(display);
}
