#pragma once

#include "integration/ApiOptions.h"
#include "integration/MqttOptions.h"
#include "platform/ProgramOptions.h"

#include <string>

// How vorlix-headless was asked to run.
struct THeadlessOptions {
    // The configuration directory.
    std::string Directory;
    TApiOptions Api;
    // Only load the configuration and report its problems.
    bool Check = false;
    TMqttOptions Mqtt;
};

// vorlix-headless's command line, storing what it reads in `options`. A new option is one more
// line of its table.
TProgramOptions HeadlessProgramOptions(THeadlessOptions& options);
