#pragma once

#include "simulator/SimServer.h"

#include <string>
#include <vector>

// How vorlix-sim was asked to run.
struct TSimOptions {
    TSimServerOptions Server;
    int Width = 64;
    bool Headless = false;
    // Where to write the frame as PNG on SIGUSR1 and on exit; empty for never.
    std::string Dump;
    // Screen pixels per LED.
    int Zoom = 8;
    bool Help = false;
};

extern const char* const SimUsage;

// Reads the command-line arguments (without the program name); throws EVorlixError with a text
// for the operator when one is wrong.
TSimOptions ParseSimArguments(const std::vector<std::string>& arguments);
