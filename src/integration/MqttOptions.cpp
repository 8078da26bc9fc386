#include "integration/MqttOptions.h"

#include "platform/SprintF.h"
#include "platform/TextFile.h"
#include "platform/VorlixError.h"

#include <unistd.h>

#include <charconv>
#include <filesystem>
#include <limits>

namespace {

// A credentials file holds two short lines; anything much longer is not one.
constexpr std::uintmax_t MaxCredentialsBytes = 4096;

[[noreturn]] void BadUrl(const std::string& url, const std::string& reason) {
    throw EVorlixError(SprintF("Invalid MQTT broker URL \"%s\": %s", url, reason));
}

std::uint16_t PortNumber(const std::string& url, const std::string& text) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value == 0 ||
        value > std::numeric_limits<std::uint16_t>::max()) {
        BadUrl(url, "the port must be a number from 1 to 65535");
    }
    return static_cast<std::uint16_t>(value);
}

// "host", "host:port", "[v6]" or "[v6]:port" into the broker's host and port.
void ReadAuthority(const std::string& url, const std::string& authority, TMqttBroker& broker) {
    std::string port;
    if (authority.starts_with('[')) {
        const std::size_t close = authority.find(']');
        if (close == std::string::npos) {
            BadUrl(url, "an IPv6 address needs its closing bracket");
        }
        broker.Host = authority.substr(1, close - 1);
        const std::string rest = authority.substr(close + 1);
        if (!rest.empty() && !rest.starts_with(':')) {
            BadUrl(url, "only a port may follow the address");
        }
        port = rest.empty() ? "" : rest.substr(1);
        if (!rest.empty() && port.empty()) {
            BadUrl(url, "the port is missing after the colon");
        }
    } else {
        const std::size_t colon = authority.find(':');
        broker.Host = authority.substr(0, colon);
        if (colon != std::string::npos) {
            port = authority.substr(colon + 1);
            if (port.empty()) {
                BadUrl(url, "the port is missing after the colon");
            }
        }
    }
    if (broker.Host.empty()) {
        BadUrl(url, "the host is missing");
    }
    if (!port.empty()) {
        broker.Port = PortNumber(url, port);
    }
}

std::string CheckedPrefix(const std::string& prefix) {
    if (prefix.empty() || prefix.find_first_of("+#") != std::string::npos || prefix.starts_with('/') ||
        prefix.ends_with('/')) {
        throw EVorlixError(SprintF("Invalid MQTT topic prefix \"%s\": it must not be empty, hold + or #, "
                                   "or begin or end with /",
                                   prefix));
    }
    return prefix;
}

std::string HostName() {
    char name[256] = {};
    if (gethostname(name, sizeof(name) - 1) != 0 || name[0] == '\0') {
        return "localhost";
    }
    return name;
}

void ReadCredentialsFile(TMqttOptions& options) {
    const std::filesystem::path path(options.CredentialsFile);
    std::error_code error;
    if (std::filesystem::file_size(path, error) > MaxCredentialsBytes && !error) {
        throw EVorlixError(SprintF("The MQTT credentials file \"%s\" is too large", options.CredentialsFile));
    }
    const std::string text = ReadFileBytes(path);
    const std::size_t firstEnd = text.find('\n');
    if (firstEnd == std::string::npos) {
        throw EVorlixError(SprintF("The MQTT credentials file \"%s\" must hold two lines: user and password",
                                   options.CredentialsFile));
    }
    auto line = [](std::string value) {
        if (value.ends_with('\r')) {
            value.pop_back();
        }
        return value;
    };
    options.User = line(text.substr(0, firstEnd));
    std::string rest = text.substr(firstEnd + 1);
    options.Password = line(rest.substr(0, rest.find('\n')));
}

} // namespace

TMqttBroker ParseMqttUrl(const std::string& url) {
    TMqttBroker broker;
    std::string rest;
    if (url.starts_with("mqtt://")) {
        rest = url.substr(7);
        broker.Port = 1883;
    } else if (url.starts_with("mqtts://")) {
        rest = url.substr(8);
        broker.Port = 8883;
        broker.Tls = true;
    } else {
        BadUrl(url, "it must begin with mqtt:// or mqtts://");
    }
    if (rest.ends_with('/')) {
        rest.pop_back();
    }
    if (rest.find_first_of("/?#@") != std::string::npos) {
        BadUrl(url, "only a host and a port may follow the scheme");
    }
    ReadAuthority(url, rest, broker);
    return broker;
}

void AddMqttProgramOptions(std::vector<TProgramOption>& table, TMqttOptions& options) {
    table.insert(
        table.end(),
        {
            {"--mqtt", "URL",
             "Connects to the MQTT broker at mqtt://host[:port] (1883) or\nmqtts://host[:port] (8883, TLS).",
             [&options](const std::string& url) {
                 options.Broker = ParseMqttUrl(url);
                 options.Url = url;
             }},
            {"--mqtt-prefix", "TEXT", "The first levels of every MQTT topic (vorlix).",
             [&options](const std::string& prefix) { options.Prefix = CheckedPrefix(prefix); }},
            {"--mqtt-client-id", "TEXT", "The MQTT client id (vorlix-HOST-PID).", SetText(options.ClientId)},
            {"--mqtt-credentials-file", "FILE",
             "The MQTT user and password are the two lines of FILE (otherwise\nVORLIX_MQTT_USER and "
             "VORLIX_MQTT_PASSWORD when set).",
             SetText(options.CredentialsFile)},
            {"--mqtt-publish-all", "",
             "Publishes the value of every source over MQTT, not only the public ones.",
             SetFlag(options.PublishAll)},
        });
}

void CompleteMqttOptions(TMqttOptions& options, const TEnvironment& environment) {
    if (!options.Enabled()) {
        return;
    }
    if (options.ClientId.empty()) {
        options.ClientId = SprintF("vorlix-%s-%d", HostName(), static_cast<int>(getpid()));
    }
    if (!options.CredentialsFile.empty()) {
        ReadCredentialsFile(options);
        return;
    }
    if (const char* user = environment("VORLIX_MQTT_USER")) {
        options.User = user;
    }
    if (const char* password = environment("VORLIX_MQTT_PASSWORD")) {
        options.Password = password;
    }
}
