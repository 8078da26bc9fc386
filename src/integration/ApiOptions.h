#pragma once

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

// Takes "--api ADDRESS:PORT" (IPv4, or IPv6 in brackets) and "--api-token-file FILE" with their
// values out of `arguments`, wherever they stand, and leaves the rest in order. Without a token
// file the token is `environmentToken` (VORLIX_API_TOKEN) when set. Nothing when --api is absent.
// Fails with EVorlixError for a malformed address, an unreadable or unusable token, and for an
// address other than a loopback one without a token.
std::optional<TApiSettings> TakeApiOptions(std::vector<std::string>& arguments, const char* environmentToken);

// "ADDRESS:PORT" with an IPv6 address in brackets.
std::string EndpointText(const std::string& address, std::uint16_t port);
