#pragma once

#include "platform/ProgramOptions.h"

#include <cstdint>
#include <functional>
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

// Adds the bridge's lines to a program's option table (--mqtt URL, --mqtt-prefix TEXT,
// --mqtt-client-id TEXT, --mqtt-credentials-file FILE, --mqtt-publish-all), storing what they read
// in `options`. A bad URL or prefix is refused with an EVorlixError that says why.
void AddMqttProgramOptions(std::vector<TProgramOption>& table, TMqttOptions& options);

// Once the command line is read and it asks for a bridge: fills in the client id
// vorlix-<host>-<pid> when none was given, and the user and password from the credentials file or,
// without one, from `environment` (VORLIX_MQTT_USER, VORLIX_MQTT_PASSWORD; it answers nullptr for
// an unset variable). An unreadable or malformed credentials file fails with an EVorlixError.
using TEnvironment = std::function<const char*(const char* name)>;
void CompleteMqttOptions(TMqttOptions& options, const TEnvironment& environment);
