#pragma once

#include "integration/ApiServer.h"
#include "integration/SessionGateway.h"
#include "rows/DisplaySession.h"
#include "support/ConfigurationDir.h"

#include <memory>
#include <string>
#include <thread>

// A session on a configuration directory, driven on its own thread as vorlix-headless drives it,
// with every display connected and running, and the HTTP API on a free loopback port.
class TRunningSession {
public:
    // Starts on what `config` holds; with `token` the API asks for it.
    explicit TRunningSession(ConfigurationDir& config, const std::string& token = "")
        : FSession(config.Path(), [](const std::string&, const std::string&) {}) {
        FSession.Start();
        FSession.SetConnected(true);
        FSession.SetPaused(false);
        FServer = std::make_unique<TApiServer>(TApiSettings{"127.0.0.1", 0, token}, FGateway);
        FDriver = std::thread([this] { FSession.RunTicks(); });
    }
    // The API goes first, so that no request waits for a driver that has stopped.
    ~TRunningSession() {
        FServer.reset();
        FSession.Work().RequestStop();
        FDriver.join();
    }

    std::string Url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(FServer->Port()) + path;
    }
    std::uint16_t Port() const { return FServer->Port(); }
    // Runs `work` on the driver's thread and waits for it.
    template <typename TWork> void OnDriver(TWork work) {
        FGateway.Call([this, &work](TSessionOperations&) {
            work(FSession);
            return TOutcome::Answer(nullptr);
        });
    }

private:
    TDisplaySession FSession;
    const TSessionGateway FGateway{FSession};
    std::unique_ptr<TApiServer> FServer;
    std::thread FDriver;
};
