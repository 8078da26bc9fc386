#pragma once

#include "platform/ProgramOptions.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Where the HTTP API listens and the bearer token it asks for (empty: none).
struct TApiSettings {
    // An IPv4 or IPv6 address in its numeric form, without brackets.
    std::string Address;
    std::uint16_t Port = 0;
    std::string Token;
};

// What a program's command line says of the API.
struct TApiOptions {
    // From --api; nothing when the API is not wanted.
    std::optional<TApiSettings> Endpoint;
    std::string TokenFile;
};

// "--api ADDRESS:PORT" (IPv4, or IPv6 in brackets; a malformed one is a wrong command line) and
// "--api-token-file FILE", for a program's option table.
std::vector<TProgramOption> ApiProgramOptions(TApiOptions& options);

// The settings to listen with: the endpoint and the token, read from the token file or else
// `environmentToken` (VORLIX_API_TOKEN) when set. Nothing without --api. Fails with EVorlixError for
// an unreadable or unusable token and for an address other than a loopback one without a token.
std::optional<TApiSettings> ApiSettings(const TApiOptions& options, const char* environmentToken);

// "ADDRESS:PORT" with an IPv6 address in brackets.
std::string EndpointText(const std::string& address, std::uint16_t port);
