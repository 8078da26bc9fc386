#pragma once

#include "MqttProbe.h"
#include "integration/MqttBridge.h"
#include "rows/DisplaySession.h"
#include "support/ConfigurationDir.h"
#include "support/MosquittoBroker.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>

namespace mqtttest {

// A session on a configuration directory, driven on its own thread as vorlix-headless drives it,
// with every display connected and running, and bridged to `broker` once it has connected.
class TBridgedSession {
public:
    TBridgedSession(const ConfigurationDir& config, const MosquittoBroker& broker, bool publishAll = false)
        : FSession(config.Path(), FLog.Log()) {
        FSession.Start();
        FSession.SetConnected(true);
        FSession.SetPaused(false);
        TMqttOptions options;
        options.Url = broker.Url();
        options.Broker = ParseMqttUrl(options.Url);
        options.ClientId = "bridged-session";
        options.PublishAll = publishAll;
        FBridge = std::make_unique<TMqttBridge>(options, FSession);
        FDriver = std::thread([this] { FSession.RunTicks(); });
        EXPECT_TRUE(FLog.WaitFor("Connected to MQTT broker")) << FLog.All();
    }
    // The bridge goes after the driver, which calls into it.
    ~TBridgedSession() {
        FSession.Work().RequestStop();
        FDriver.join();
        FBridge.reset();
    }

    const TLines& Log() const { return FLog; }
    // Reloads the configuration directory on the driver's thread.
    void Reload() {
        FSession.Work().Post([this] { FSession.Reload(); });
    }

private:
    TLines FLog;
    TDisplaySession FSession;
    std::unique_ptr<TMqttBridge> FBridge;
    std::thread FDriver;
};

} // namespace mqtttest
