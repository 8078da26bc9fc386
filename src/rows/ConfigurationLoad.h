#pragma once

#include "config/BaseObjectList.h"
#include "config/VDataSource.h"
#include "config/VDisplay.h"
#include "log/DLogObject.h"
#include "rows/RowSendCycle.h"

#include <map>
#include <string>
#include <vector>

// One thing wrong in a configuration directory: the file it is in and what the program says.
struct TConfigurationProblem {
    std::string File;
    std::string Message;
};

// "file: message", as a line for the operator.
std::string ProblemLine(const TConfigurationProblem& problem);

// Everything a configuration directory holds, read as a start reads it.
struct TLoadedConfiguration {
    TBaseObjectList<TVDataSource> Sources;
    TBaseObjectList<TVDisplay> Displays;
    // By display name.
    std::map<std::string, TRowSendCycle::TRows> Rows;
    // Empty when the directory loads as it is.
    std::vector<TConfigurationProblem> Problems;
};

// What a data source or display client says of its record while it is built, idle: its errors
// and warnings, in order. Connects nothing.
std::vector<TLogText> CreationMessages(const TVDataSource& record);
std::vector<TLogText> CreationMessages(const TVDisplay& record);

// Reads both configuration files and every display's rows file, and builds every data source and
// display client once, idle, to hear what they say of their settings texts: each error is a
// problem. Connects nothing and writes nothing.
TLoadedConfiguration LoadConfiguration(const std::string& directory);
