#include "app/HeadlessOptions.h"

TProgramOptions HeadlessProgramOptions(THeadlessOptions& options) {
    return {"vorlix-headless",
            "Runs the configuration in DIR without a window: connects every display and sends its rows.\n"
            "SIGHUP loads DIR again; SIGINT or SIGTERM ends it.",
            {{"DIR", SetText(options.Directory)}},
            {{"--check", "",
              "Load DIR as a start would, print each problem as \"file: message\" and exit\n"
              "with 1 if there is any, 0 otherwise; connects to nothing and writes nothing",
              SetFlag(options.Check)}}};
}
