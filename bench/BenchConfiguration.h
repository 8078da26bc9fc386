#pragma once

#include "config/BaseObjectList.h"
#include "config/VDataSource.h"
#include "config/VDisplay.h"
#include "datasources/DisplayType.h"
#include "rows/RowSendCycle.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

// A configuration directory for a benchmark, written as the program stores its own.
//
// Its numeric sources are static ones "S1", "S2", ..., file sources "F1", ... each reading
// a two-line file of its own, and expression sources "E1", ... computed from the others.
class TBenchConfiguration {
public:
    explicit TBenchConfiguration(std::filesystem::path directory) : FDirectory(std::move(directory)) {}

    void AddStaticSources(int count);
    void AddFileSources(int count, std::uint16_t timeoutMsec);
    // Each over two static and one file source; needs at least one of each.
    void AddExpressionSources(int count, std::uint16_t timeoutMsec);
    // A TCP display 128 pixels wide at `address`, with `rows` rows of `displayTimeMsec`
    // each. Odd rows show the fixed text RowText(display number, row number), even rows a
    // source's value (when there are sources).
    void AddDisplay(const std::string& address, int rows, std::uint32_t displayTimeMsec);
    // A display of `displayType` with these connection settings whose rows all show their fixed
    // text, lengthened to `rowLength` characters.
    void AddDisplay(TDisplayType displayType, const std::string& settings, int rows,
                    std::uint32_t displayTimeMsec, std::size_t rowLength);

    // The data sources file, the displays file and every display's rows file.
    void Write() const;

    // The fixed text of an odd row; no other row of the display contains it.
    static std::string RowText(int display, int row);
    static std::string DisplayName(int display) { return "Skylt " + std::to_string(display); }
    // The file that file source "F<number>" reads.
    static std::filesystem::path SourceFile(const std::filesystem::path& directory, int number);

private:
    void AddSource(const std::string& name, std::uint16_t type, std::uint16_t timeoutMsec,
                   const std::string& configuration);
    TVDisplay& AddDisplay(TDisplayType displayType, const std::string& settings);

    const std::filesystem::path FDirectory;
    TBaseObjectList<TVDataSource> FSources;
    TBaseObjectList<TVDisplay> FDisplays;
    std::vector<TRowSendCycle::TRows> FRows;
    int FStaticCount = 0;
    int FFileCount = 0;
    int FExpressionCount = 0;
};
