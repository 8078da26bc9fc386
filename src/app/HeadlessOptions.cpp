#include "app/HeadlessOptions.h"

TProgramOptions HeadlessProgramOptions(THeadlessOptions& options) {
    std::vector<TProgramOption> table = {
        {"--check", "",
         "Load DIR as a start would, print each problem as \"file: message\" and exit\n"
         "with 1 if there is any, 0 otherwise; connects to nothing and writes nothing",
         SetFlag(options.Check)}};
    for (TProgramOption& option : ApiProgramOptions(options.Api)) {
        table.push_back(std::move(option));
    }
    AddMqttProgramOptions(table, options.Mqtt);
    return {"vorlix-headless",
            "Runs the configuration in DIR without a window: connects every display and sends its rows.\n"
            "SIGHUP loads DIR again; SIGINT or SIGTERM ends it.",
            {{"DIR", SetText(options.Directory)}},
            std::move(table)};
}
