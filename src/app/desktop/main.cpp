// vorlix-client: keeps the displays of the configuration in the current directory up to date.

#include "integration/ApiServer.h"
#include "integration/MqttBridge.h"
#include "integration/SessionGateway.h"
#include "platform/ProgramOptions.h"
#include "ui/FormMultiDisplaysUI.h"
#include "ui/WindowIcon.h"

#include <QApplication>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

int main(int argc, char* argv[]) {
    // Answered before the toolkit starts, so that --help and --version need no display server.
    TApiOptions apiOptions;
    TMqttOptions mqttOptions;
    std::vector<TProgramOption> table = ApiProgramOptions(apiOptions);
    AddMqttProgramOptions(table, mqttOptions);
    const TProgramOptions options{
        "vorlix-client",
        "Keeps the displays of the configuration in the working directory up to date.",
        {},
        std::move(table)};
    if (const auto status = AnswerProgramArguments(options, argc, argv, std::cout, std::cerr)) {
        return *status;
    }
    std::optional<TApiSettings> api;
    try {
        api = ApiSettings(apiOptions, std::getenv("VORLIX_API_TOKEN"));
        CompleteMqttOptions(mqttOptions, std::getenv);
    } catch (const std::exception& failure) {
        std::cerr << failure.what() << "\n";
        return 1;
    }
    QApplication application(argc, argv);
    QApplication::setWindowIcon(VorlixWindowIcon());
    // Without a readable working directory, the start-up reports the configuration as missing.
    std::error_code error;
    const std::filesystem::path directory = std::filesystem::current_path(error);
    TFormMultiDisplays window(error ? std::string(".") : directory.string());
    // Declared after the window, so that it stops before the window's session goes.
    const TSessionGateway gateway(window.Session());
    std::unique_ptr<TApiServer> server;
    if (api) {
        try {
            server = std::make_unique<TApiServer>(*api, gateway);
        } catch (const std::exception& failure) {
            std::cerr << failure.what() << "\n";
            return 1;
        }
        window.HandleLogMessage("API", server->ListeningMessage());
    }
    std::unique_ptr<TMqttBridge> bridge;
    if (mqttOptions.Enabled()) {
        bridge = std::make_unique<TMqttBridge>(mqttOptions, window.Session());
    }
    window.show();
    return QApplication::exec();
}
