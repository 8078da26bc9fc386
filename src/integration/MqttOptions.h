#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Where the broker is: from a URL mqtt://host[:port] (1883) or mqtts://host[:port] (8883, TLS
// checked against the system's certificate authorities and the host name).
struct TMqttBroker {
    std::string Host;
    std::uint16_t Port = 0;
    bool Tls = false;
};

// How the bridge reaches its broker and names its topics; no bridge while Url is empty.
struct TMqttOptions {
    std::string Url;
    TMqttBroker Broker;
    std::string Prefix = "vorlix";
    std::string ClientId;
    std::string CredentialsFile;
    std::string User;
    std::string Password;
    bool PublishAll = false;

    bool Enabled() const { return !Url.empty(); }
};

// Fails with an EVorlixError that names the URL and what is wrong with it.
TMqttBroker ParseMqttUrl(const std::string& url);

// Takes the bridge's options out of `arguments` and answers them; nothing without --mqtt. Fills in
// what the options leave open: the client id vorlix-<host>-<pid>, and the user and password from
// the credentials file or, without one, from `environment` (VORLIX_MQTT_USER,
// VORLIX_MQTT_PASSWORD; it answers nullptr for an unset variable). A missing or bad value, or an
// unreadable credentials file, fails with an EVorlixError.
using TEnvironment = std::function<const char*(const char* name)>;
std::optional<TMqttOptions> TakeMqttOptions(std::vector<std::string>& arguments,
                                            const TEnvironment& environment);
