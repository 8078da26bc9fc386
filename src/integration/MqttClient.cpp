#include "integration/MqttClient.h"

#include "platform/SprintF.h"
#include "platform/VorlixError.h"

#include <mosquitto.h>

#include <cerrno>
#include <cstring>
#include <mutex>

namespace {

// The broker hears from us at least this often, and a broker silent for half as long again is
// taken for gone.
constexpr int KeepAliveSeconds = 30;

void InitialiseLibrary() {
    static std::once_flag once;
    std::call_once(once, [] { mosquitto_lib_init(); });
}

// The library's result code in words; the system's reason for a failed system call.
std::string ErrorText(int result) {
    if (result == MOSQ_ERR_ERRNO) {
        return std::strerror(errno);
    }
    return mosquitto_strerror(result);
}

} // namespace

// libmosquitto calls these from inside Service, on the owner's thread.
struct TMqttCallbacks {
    static void Connected(mosquitto*, void* self, int reason, int, const mosquitto_property*) {
        auto& client = *static_cast<TMqttClient*>(self);
        if (reason != 0) {
            client.FFailure =
                SprintF("The broker refused the connection: %s", mosquitto_reason_string(reason));
            return;
        }
        // What went wrong on the way here is no part of a later failure.
        client.FLibraryError.clear();
        if (client.FEvents.OnConnected) {
            client.FEvents.OnConnected();
        }
    }
    static void Disconnected(mosquitto*, void* self, int reason, const mosquitto_property*) {
        auto& client = *static_cast<TMqttClient*>(self);
        if (client.FFailure.empty()) {
            client.FFailure = client.Failure(reason);
        }
    }
    static void Message(mosquitto*, void* self, const mosquitto_message* message, const mosquitto_property*) {
        auto& client = *static_cast<TMqttClient*>(self);
        if (client.FEvents.OnMessage && message->topic != nullptr) {
            const char* payload = static_cast<const char*>(message->payload);
            client.FEvents.OnMessage(message->topic,
                                     std::string(payload, payload + (payload ? message->payloadlen : 0)));
        }
    }
    static void Logged(mosquitto*, void* self, int level, const char* text) {
        if (level == MOSQ_LOG_ERR && text != nullptr) {
            static_cast<TMqttClient*>(self)->FLibraryError = text;
        }
    }
    static void Published(mosquitto*, void* self, int messageId, int, const mosquitto_property*) {
        auto& client = *static_cast<TMqttClient*>(self);
        if (client.FEvents.OnPublished) {
            client.FEvents.OnPublished(messageId);
        }
    }
};

TMqttClient::TMqttClient(const TMqttOptions& options, const TMqttMessage& will, TEvents events)
    : FBroker(options.Broker), FEvents(std::move(events)) {
    InitialiseLibrary();
    FHandle = mosquitto_new(options.ClientId.c_str(), true, this);
    if (FHandle == nullptr) {
        throw EVorlixError(SprintF("Cannot set up the MQTT client: %s", ErrorText(MOSQ_ERR_ERRNO)));
    }
    try {
        Check(mosquitto_int_option(FHandle, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V5),
              "Cannot choose MQTT 5");
        Check(mosquitto_int_option(FHandle, MOSQ_OPT_TCP_NODELAY, 1), "Cannot set up the MQTT socket");
        if (!options.User.empty()) {
            Check(mosquitto_username_pw_set(FHandle, options.User.c_str(), options.Password.c_str()),
                  "Cannot use the MQTT credentials");
        }
        Check(mosquitto_will_set(FHandle, will.Topic.c_str(), static_cast<int>(will.Payload.size()),
                                 will.Payload.data(), 1, will.Retain),
              "Cannot set the MQTT last will");
        if (FBroker.Tls) {
            // The system's certificate authorities; the host name is checked as long as the
            // connection is not marked insecure, which it never is.
            Check(mosquitto_int_option(FHandle, MOSQ_OPT_TLS_USE_OS_CERTS, 1), "Cannot set up TLS");
        }
    } catch (...) {
        mosquitto_destroy(FHandle);
        throw;
    }
    mosquitto_connect_v5_callback_set(FHandle, TMqttCallbacks::Connected);
    mosquitto_disconnect_v5_callback_set(FHandle, TMqttCallbacks::Disconnected);
    mosquitto_message_v5_callback_set(FHandle, TMqttCallbacks::Message);
    mosquitto_publish_v5_callback_set(FHandle, TMqttCallbacks::Published);
    mosquitto_log_callback_set(FHandle, TMqttCallbacks::Logged);
}

TMqttClient::~TMqttClient() {
    mosquitto_destroy(FHandle);
}

void TMqttClient::Connect() {
    Check(mosquitto_connect_async(FHandle, FBroker.Host.c_str(), FBroker.Port, KeepAliveSeconds),
          "Cannot connect");
}

int TMqttClient::Socket() const {
    return mosquitto_socket(FHandle);
}

bool TMqttClient::WantsWrite() const {
    return mosquitto_want_write(FHandle);
}

void TMqttClient::Service() {
    const int result = mosquitto_loop(FHandle, 0, 1);
    if (!FFailure.empty()) {
        throw EVorlixError(FFailure);
    }
    if (result != MOSQ_ERR_SUCCESS) {
        throw EVorlixError(Failure(result));
    }
}

std::string TMqttClient::Failure(int result) const {
    return FLibraryError.empty() ? ErrorText(result) : SprintF("%s (%s)", ErrorText(result), FLibraryError);
}

void TMqttClient::Check(int result, const std::string& what) const {
    if (result != MOSQ_ERR_SUCCESS) {
        throw EVorlixError(SprintF("%s: %s", what, Failure(result)));
    }
}

void TMqttClient::Subscribe(const std::string& topic) {
    Check(mosquitto_subscribe(FHandle, nullptr, topic.c_str(), 1), SprintF("Cannot subscribe to %s", topic));
}

int TMqttClient::Publish(const TMqttMessage& message) {
    int messageId = 0;
    Check(mosquitto_publish(FHandle, &messageId, message.Topic.c_str(),
                            static_cast<int>(message.Payload.size()), message.Payload.data(), 1,
                            message.Retain),
          SprintF("Cannot publish to %s", message.Topic));
    return messageId;
}

void TMqttClient::Disconnect() {
    mosquitto_disconnect(FHandle);
}
