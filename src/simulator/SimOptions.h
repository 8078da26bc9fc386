#pragma once

#include "platform/ProgramOptions.h"
#include "simulator/SimServer.h"

#include <string>

// How vorlix-sim was asked to run.
struct TSimOptions {
    TSimServerOptions Server;
    int Width = 64;
    bool Headless = false;
    // Where to write the frame as PNG on SIGUSR1 and on exit; empty for never.
    std::string Dump;
    // Screen pixels per LED.
    int Zoom = 8;
};

// vorlix-sim's command line, storing what it reads in `options`.
TProgramOptions SimProgramOptions(TSimOptions& options);
