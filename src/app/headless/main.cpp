// vorlix-headless [OPTION]... DIR: runs the configuration in DIR as the desktop program does,
// without a window: every display connected, every send cycle running, each log line on standard
// output; with --api, the HTTP API too, and with --mqtt the MQTT bridge. Ends on SIGINT or SIGTERM;
// SIGHUP loads the configuration again. With --check it only loads the configuration and lists its
// problems.

#include "app/HeadlessOptions.h"
#include "integration/ApiServer.h"
#include "integration/MqttBridge.h"
#include "integration/SessionGateway.h"
#include "log/SyslogPriority.h"
#include "platform/ServiceNotifier.h"
#include "platform/SignalWaiter.h"
#include "platform/SprintF.h"
#include "rows/ConfigurationLoad.h"
#include "rows/DisplaySession.h"
#include "rows/LogLine.h"

#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <iostream>
#include <memory>
#include <mutex>
#include <optional>

namespace {

// Log lines as the main window shows them, under journald with their priority; the clients log
// from their worker threads.
class TLogPrinter {
public:
    void Print(const std::string& source, const std::string& message) {
        const std::string line = (FToJournal ? SyslogPriorityPrefix(message) : std::string()) +
                                 LogLineText(source, message) + "\n";
        std::lock_guard lock(FLock);
        std::fwrite(line.data(), 1, line.size(), stdout);
        std::fflush(stdout);
    }

private:
    const bool FToJournal = WritingToJournal();
    std::mutex FLock;
};

// Makes the configuration directory the working directory, as the desktop program runs in it, so
// that file sources find files named relative to it. Answers why not, or nothing.
std::string EnterDirectory(const std::string& name, std::filesystem::path& directory) {
    std::error_code error;
    directory = std::filesystem::canonical(name, error);
    if (error) {
        return error.message();
    }
    if (!std::filesystem::is_directory(directory, error)) {
        return "Not a directory";
    }
    if (chdir(directory.c_str()) != 0) {
        return std::strerror(errno);
    }
    return {};
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "%s%s\n", WritingToJournal() ? "<3>" : "", message.c_str());
    return 1;
}

// Loads the configuration without running it: each problem on a line, status 1 if there is any.
int Check(const std::string& directory) {
    const TLoadedConfiguration loaded = LoadConfiguration(directory);
    for (const TConfigurationProblem& problem : loaded.Problems) {
        std::printf("%s\n", ProblemLine(problem).c_str());
    }
    return loaded.Problems.empty() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    THeadlessOptions options;
    if (const auto status =
            AnswerProgramArguments(HeadlessProgramOptions(options), argc, argv, std::cout, std::cerr)) {
        return *status;
    }
    std::optional<TApiSettings> api;
    try {
        api = ApiSettings(options.Api, std::getenv("VORLIX_API_TOKEN"));
        CompleteMqttOptions(options.Mqtt, std::getenv);
    } catch (const std::exception& failure) {
        return Fail(failure.what());
    }
    TSignalWaiter::BlockSignals({SIGHUP});

    std::filesystem::path directory;
    if (const std::string reason = EnterDirectory(options.Directory, directory); !reason.empty()) {
        return Fail(SprintF("Cannot open directory \"%s\". %s", options.Directory, reason));
    }
    if (options.Check) {
        return Check(directory.string());
    }

    TLogPrinter printer;
    TDisplaySession session(directory.string(),
                            [&printer](const std::string& source, const std::string& message) {
                                printer.Print(source, message);
                            });
    // Connected before it starts, so that each display is greeted as soon as its client exists.
    session.SetConnected(true);
    // Waiting for signals from here on lets a stop end a long start-up between its steps.
    TSignalWaiter signals([&session] { session.Work().RequestStop(); },
                          {{SIGHUP, [&session] { session.Work().Post([&session] { session.Reload(); }); }}});
    try {
        session.Start();
    } catch (const std::exception& failure) {
        return Fail(failure.what());
    }
    if (session.Work().StopRequested()) {
        return 0;
    }
    const TSessionGateway gateway(session);
    std::unique_ptr<TApiServer> server;
    if (api) {
        try {
            server = std::make_unique<TApiServer>(*api, gateway);
        } catch (const std::exception& failure) {
            return Fail(failure.what());
        }
        printer.Print("API", server->ListeningMessage());
    }
    std::unique_ptr<TMqttBridge> bridge;
    if (options.Mqtt.Enabled()) {
        bridge = std::make_unique<TMqttBridge>(options.Mqtt, session);
    }
    session.SetPaused(false);
    TServiceNotifier service;
    service.Ready();
    session.RunTicks([&service] { service.Alive(); });
    service.Stopping();
    return 0;
}
