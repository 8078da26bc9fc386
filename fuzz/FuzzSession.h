#pragma once

#include "FuzzFiles.h"

#include "config/BaseObjectList.h"
#include "config/ConfigurationFiles.h"
#include "config/VDataSource.h"
#include "config/VDisplay.h"
#include "datasources/DisplayDataSourceType.h"
#include "datasources/DisplayType.h"

#include <filesystem>
#include <memory>
#include <string>

// The configuration of the targets that reach a session as outside requests do: a static source
// the operator may change, a REST source, and a TCP/IP display that is never connected. Written
// to the process's scratch directory; answers its path.
inline std::string WriteSessionConfiguration() {
    const std::filesystem::path directory = ScratchFile("session");
    std::filesystem::create_directories(directory);
    TBaseObjectList<TVDataSource> sources;
    auto& changeable = sources.Add(std::make_unique<TVDataSource>());
    changeable.SetName("Besökare");
    changeable.SetDataSourceType(DisplayDataSourceType_Static);
    changeable.SetConfiguration("12");
    changeable.SetPublicChangeable(true);
    auto& pushed = sources.Add(std::make_unique<TVDataSource>());
    pushed.SetName("Kö/1");
    pushed.SetDataSourceType(DisplayDataSourceType_REST);
    WriteListFile(DataSourcesFilePath(directory.string()), sources);
    TBaseObjectList<TVDisplay> displays;
    auto& display = displays.Add(std::make_unique<TVDisplay>());
    display.SetName("Entre");
    display.SetDisplayType(DisplayType_Vorlix3Ip);
    display.SetWidth(128);
    display.SetDisplaySettings("127.0.0.1:9");
    WriteListFile(DisplaysFilePath(directory.string()), displays);
    return directory.string();
}
