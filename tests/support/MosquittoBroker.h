#pragma once

#include "support/ChildProcess.h"
#include "support/TempDir.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

// A real mosquitto broker on a free loopback port with a configuration of its own, for the tests
// of the MQTT bridge; stopped when the object goes. With a user it takes only that user and
// password (a password file written by mosquitto_passwd). With TLS it shows a self-signed
// certificate for 127.0.0.1. Fails with std::runtime_error when it cannot start.
class MosquittoBroker {
public:
    struct TSettings {
        std::string User;
        std::string Password;
        bool Tls = false;
    };

    MosquittoBroker();
    explicit MosquittoBroker(const TSettings& settings);
    ~MosquittoBroker();
    MosquittoBroker(const MosquittoBroker&) = delete;
    MosquittoBroker& operator=(const MosquittoBroker&) = delete;

    std::uint16_t Port() const { return FPort; }
    std::string Url() const {
        return (FSettings.Tls ? "mqtts://127.0.0.1:" : "mqtt://127.0.0.1:") + std::to_string(FPort);
    }
    // With TLS: the broker's certificate, which is its own authority.
    std::string CertificateFile() const { return (FDir / "cert.pem").string(); }

    // Stops the broker, which forgets its retained messages, and starts it again on the same port.
    void Restart();
    void Stop();
    void Start();

    // Publishes with mosquitto_pub at QoS 1, as the settings' user when there is one.
    void Publish(const std::string& topic, const std::string& payload, bool retain = false) const;
    // A mosquitto_sub on `topic`, subscribed when this returns, printing each message as
    // "<retained 0/1> <topic> <payload>" on a line.
    std::unique_ptr<ChildProcess> Subscribe(const std::string& topic) const;

private:
    std::vector<std::string> ClientArguments(const std::string& program) const;

    TempDir FDir;
    TSettings FSettings;
    std::uint16_t FPort = 0;
    std::unique_ptr<ChildProcess> FBroker;
};
