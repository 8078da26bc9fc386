#include "simulator/SimOptions.h"

#include "platform/NumberText.h"
#include "platform/SprintF.h"
#include "platform/VorlixError.h"

#include <cstdint>

const char* const SimUsage =
    "Usage: vorlix-sim [--bind ADDRESS] [--port PORT] [--pty] [--width 64|128]\n"
    "                  [--zoom PIXELS] [--headless] [--dump FILE.png]\n"
    "A virtual Vorlix3 display. It listens on TCP (default 127.0.0.1:3027) and, with\n"
    "--pty, on a pseudo-terminal whose path it prints. --port 0 takes a free port.\n"
    "--headless runs without a window; --dump writes the frame as PNG on SIGUSR1\n"
    "and on exit.\n";

namespace {

int NumberOption(const std::string& option, const std::string& text, int low, int high) {
    const auto value = WholeNumber<int>(text);
    if (!value || *value < low || *value > high) {
        throw EVorlixError(SprintF("%s must be a number from %d to %d", option, low, high));
    }
    return *value;
}

} // namespace

TSimOptions ParseSimArguments(const std::vector<std::string>& arguments) {
    TSimOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        const auto value = [&]() -> const std::string& {
            if (i + 1 >= arguments.size()) {
                throw EVorlixError(SprintF("%s needs a value", option));
            }
            return arguments[++i];
        };
        if (option == "--bind") {
            options.Server.Bind = value();
        } else if (option == "--port") {
            options.Server.Port = static_cast<std::uint16_t>(NumberOption(option, value(), 0, 65535));
        } else if (option == "--pty") {
            options.Server.Pty = true;
        } else if (option == "--width") {
            const std::string& width = value();
            if (width != "64" && width != "128") {
                throw EVorlixError("--width must be 64 or 128");
            }
            options.Width = width == "64" ? 64 : 128;
        } else if (option == "--zoom") {
            options.Zoom = NumberOption(option, value(), 1, 32);
        } else if (option == "--headless") {
            options.Headless = true;
        } else if (option == "--dump") {
            options.Dump = value();
        } else if (option == "--help" || option == "-h") {
            options.Help = true;
        } else {
            throw EVorlixError(SprintF("Unknown option %s", option));
        }
    }
    return options;
}
