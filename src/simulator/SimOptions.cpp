#include "simulator/SimOptions.h"

#include "platform/NumberText.h"
#include "platform/SprintF.h"
#include "platform/VorlixError.h"

#include <cstdint>

namespace {

int NumberOption(const std::string& option, const std::string& text, int low, int high) {
    const auto value = WholeNumber<int>(text);
    if (!value || *value < low || *value > high) {
        throw EVorlixError(SprintF("%s must be a number from %d to %d", option, low, high));
    }
    return *value;
}

} // namespace

TProgramOptions SimProgramOptions(TSimOptions& options) {
    return {"vorlix-sim",
            "A virtual Vorlix3 display. It listens on TCP and, with --pty, on a pseudo-terminal\n"
            "whose path it prints, and shows what display clients send it.",
            {},
            {{"--bind", "ADDRESS", "Listen on ADDRESS (default 127.0.0.1)", SetText(options.Server.Bind)},
             {"--port", "PORT", "Listen on PORT (default 3027; 0 takes a free port)",
              [&options](const std::string& value) {
                  options.Server.Port = static_cast<std::uint16_t>(NumberOption("--port", value, 0, 65535));
              }},
             {"--pty", "", "Also listen on a pseudo-terminal", SetFlag(options.Server.Pty)},
             {"--width", "64|128", "Display width in LEDs (default 64)",
              [&options](const std::string& value) {
                  if (value != "64" && value != "128") {
                      throw EVorlixError("--width must be 64 or 128");
                  }
                  options.Width = value == "64" ? 64 : 128;
              }},
             {"--zoom", "PIXELS", "Screen pixels per LED (default 8)",
              [&options](const std::string& value) { options.Zoom = NumberOption("--zoom", value, 1, 32); }},
             {"--headless", "", "Run without a window", SetFlag(options.Headless)},
             {"--dump", "FILE.png", "Write the frame as PNG on SIGUSR1 and on exit", SetText(options.Dump)}}};
}
