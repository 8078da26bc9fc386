#pragma once

#include "integration/ApiOptions.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TSessionGateway;

// A request target's path segments after the leading slash, each percent-decoded, without the
// query; none for a target that does not begin with "/".
std::vector<std::string> ApiPathSegments(const std::string& target);

// The HTTP API on its own threads: at most MaxConnections clients at a time, each with
// RequestTime to send a whole request and at most RequestsPerConnection requests on one
// connection, which waits at most RequestTime for the next. Requests reach the session only
// through the gateway. Listening starts with the object and ends when it goes.
class TApiServer {
public:
    static constexpr int MaxConnections = 16;
    static constexpr int RequestTimeSeconds = 5;
    static constexpr int RequestsPerConnection = 100;

    // Fails with EVorlixError when it cannot listen on the address.
    TApiServer(const TApiSettings& settings, const TSessionGateway& gateway);
    ~TApiServer();
    TApiServer(const TApiServer&) = delete;
    TApiServer& operator=(const TApiServer&) = delete;

    // The port listened on: the one asked for, or the free one taken for port 0.
    std::uint16_t Port() const;
    // "API listening on ADDRESS:PORT".
    std::string ListeningMessage() const;

private:
    class TImpl;
    std::unique_ptr<TImpl> FImpl;
};
