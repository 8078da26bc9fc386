#pragma once

#include "integration/MqttOptions.h"
#include "integration/MqttOutbox.h"

#include <functional>
#include <string>

struct mosquitto;

// One connection to a broker through libmosquitto, from the first attempt to its end; the link
// makes a new one for each attempt. It never waits by itself: the owner waits for its socket
// (Socket, WantsWrite) and then calls Service, which does the network work that is ready and
// raises the events. Use it from one thread only. Every failure is an EVorlixError with the
// library's reason in words.
class TMqttClient {
public:
    struct TEvents {
        // The broker accepted the connection.
        std::function<void()> OnConnected;
        std::function<void(const std::string& topic, std::string payload)> OnMessage;
        // A message with this id has gone its whole way to the broker.
        std::function<void(int messageId)> OnPublished;
    };

    // Sets up the connection: identity, credentials, TLS, and `will` as the last will.
    TMqttClient(const TMqttOptions& options, const TMqttMessage& will, TEvents events);
    ~TMqttClient();
    TMqttClient(const TMqttClient&) = delete;
    TMqttClient& operator=(const TMqttClient&) = delete;

    // Starts connecting without waiting for the broker's answer (a host name is resolved here).
    void Connect();
    // The socket to wait on, -1 while there is none.
    int Socket() const;
    bool WantsWrite() const;
    // Reads and writes what the socket allows now and keeps the connection alive; fails when the
    // connection is refused or lost.
    void Service();

    void Subscribe(const std::string& topic);
    // Answers the message's id, for OnPublished.
    int Publish(const TMqttMessage& message);
    // Ends the connection cleanly; the broker drops the last will.
    void Disconnect();

private:
    friend struct TMqttCallbacks;

    void Check(int result, const std::string& what) const;
    std::string Failure(int result) const;

    const TMqttBroker FBroker;
    const TEvents FEvents;
    mosquitto* FHandle = nullptr;
    // Set by a callback inside Service, thrown once the library has returned.
    std::string FFailure;
    // The library's latest error line, which tells more than its result code (a TLS failure's cause).
    std::string FLibraryError;
};
