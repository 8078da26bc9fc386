#pragma once

#include "integration/MqttBackoff.h"
#include "integration/MqttClient.h"
#include "integration/MqttOptions.h"
#include "integration/MqttOutbox.h"
#include "integration/MqttTopics.h"
#include "log/DLogObject.h"
#include "platform/FileDescriptor.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// The bridge's link to its broker, kept up on a thread of its own so that a broker that is away,
// slow or silent never holds up anyone else. It connects and, when the connection fails or is
// lost, tries again after a growing pause (see TMqttBackoff); each time it connects it subscribes
// again, announces "online" (retained) on <prefix>/status and sends every retained message again.
// The broker announces "offline" for it when it vanishes, and it does so itself when it stops.
//
// Publish may be called from any thread; the messages wait in an outbox (newest per topic, at most
// ten a second per topic) until the broker can take them. Incoming messages reach the handler on
// the link's thread, which must hand them on quickly and never touch the core itself.
class TMqttLink {
public:
    using TMessageHandler = std::function<void(const std::string& topic, std::string payload)>;

    // How long a broker may take to answer a connection before it is given up on.
    static constexpr std::chrono::seconds AnswerWait{10};
    // How long stopping waits for the broker to take the "offline".
    static constexpr std::chrono::seconds GoodbyeWait{2};

    // Starts the link. `log` receives (source, message) from the link's thread.
    TMqttLink(TMqttOptions options, std::vector<std::string> subscriptions, TMessageHandler onMessage,
              TDLogMessage log);
    // Says "offline", disconnects and ends the thread.
    ~TMqttLink();
    TMqttLink(const TMqttLink&) = delete;
    TMqttLink& operator=(const TMqttLink&) = delete;

    void Publish(TMqttMessage message);
    bool Connected() const { return FConnected; }

private:
    using TTime = std::chrono::steady_clock::time_point;

    void Run();
    void Attempt(TTime now);
    void Fail(const std::string& reason, TTime now);
    void Greet();
    void SendDue(TTime now);
    // Waits for the socket, a wake-up or `until`, then lets the client do what is ready.
    void WaitAndService(TTime until);
    TTime WaitLimit(TTime now);
    void SayGoodbye();
    void WakeUp();
    TMqttMessage StatusMessage(const std::string& status) const;

    const TMqttOptions FOptions;
    const TMqttTopics FTopics;
    const std::vector<std::string> FSubscriptions;
    const TMessageHandler FOnMessage;
    const TDLogMessage FLog;
    TFileDescriptor FWakeUp;

    std::mutex FLock;
    TMqttOutbox FOutbox;
    bool FStopping = false;
    std::atomic<bool> FConnected{false};

    // The link thread's own.
    std::unique_ptr<TMqttClient> FClient;
    TTime FAttemptStarted;
    bool FJustConnected = false;
    int FGoodbyeId = -1;
    bool FGoodbyeTaken = false;
    TMqttBackoff FBackoff;

    std::thread FThread;
};
