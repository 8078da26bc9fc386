#include "app/HeadlessOptions.h"

TProgramOptions HeadlessProgramOptions(THeadlessOptions& options) {
    std::vector<TProgramOption> table = ApiProgramOptions(options.Api);
    AddMqttProgramOptions(table, options.Mqtt);
    return {"vorlix-headless",
            "Runs the configuration in DIR without a window: connects every display and sends its rows.\n"
            "SIGINT or SIGTERM ends it.",
            {{"DIR", SetText(options.Directory)}},
            std::move(table)};
}
