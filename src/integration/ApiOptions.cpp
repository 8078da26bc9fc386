#include "integration/ApiOptions.h"

#include "platform/SprintF.h"
#include "platform/TextFile.h"
#include "platform/VorlixError.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <algorithm>
#include <charconv>
#include <filesystem>

namespace {

constexpr std::uintmax_t MaxTokenFileBytes = 4096;

bool IsLoopback(const std::string& address) {
    in_addr v4{};
    if (inet_pton(AF_INET, address.c_str(), &v4) == 1) {
        return (ntohl(v4.s_addr) >> 24) == 127;
    }
    in6_addr v6{};
    return inet_pton(AF_INET6, address.c_str(), &v6) == 1 && IN6_IS_ADDR_LOOPBACK(&v6);
}

TApiSettings ReadEndpoint(const std::string& text) {
    const auto invalid = [&text] {
        return EVorlixError(
            SprintF("--api needs ADDRESS:PORT, such as 127.0.0.1:8080 or [::1]:8080, not \"%s\"", text));
    };
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos) {
        throw invalid();
    }
    TApiSettings settings;
    settings.Address = text.substr(0, colon);
    const bool bracketed = settings.Address.starts_with('[') && settings.Address.ends_with(']');
    if (bracketed) {
        settings.Address = settings.Address.substr(1, settings.Address.size() - 2);
    }
    in_addr v4{};
    in6_addr v6{};
    const bool valid = bracketed ? inet_pton(AF_INET6, settings.Address.c_str(), &v6) == 1
                                 : inet_pton(AF_INET, settings.Address.c_str(), &v4) == 1;
    const std::string port = text.substr(colon + 1);
    const auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), settings.Port);
    if (!valid || port.empty() || error != std::errc{} || end != port.data() + port.size()) {
        throw invalid();
    }
    return settings;
}

std::string ReadToken(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error) ||
        std::filesystem::file_size(path, error) > MaxTokenFileBytes) {
        throw EVorlixError(SprintF("The token file \"%s\" is not a file of at most %d bytes", path,
                                   static_cast<int>(MaxTokenFileBytes)));
    }
    std::string token = ReadFileBytes(path);
    // The first line is the token; an editor's line break after it is not part of it.
    token = token.substr(0, token.find_first_of("\r\n"));
    return token;
}

void CheckToken(const std::string& token) {
    if (!std::ranges::all_of(token, [](char c) { return c > ' ' && c < 0x7f; })) {
        throw EVorlixError("The API token must be printable ASCII without blanks");
    }
}

} // namespace

std::vector<TProgramOption> ApiProgramOptions(TApiOptions& options) {
    return {{"--api", "ADDRESS:PORT",
             "Offers the HTTP API there (127.0.0.1:8080, [::1]:8080; port 0 takes a\n"
             "free one); without a token only on a loopback address.",
             [&options](const std::string& value) { options.Endpoint = ReadEndpoint(value); }},
            {"--api-token-file", "FILE",
             "The API's bearer token is the first line of FILE (otherwise\n"
             "VORLIX_API_TOKEN when set).",
             SetText(options.TokenFile)}};
}

std::optional<TApiSettings> ApiSettings(const TApiOptions& options, const char* environmentToken) {
    if (!options.Endpoint) {
        if (!options.TokenFile.empty()) {
            throw EVorlixError("--api-token-file needs --api");
        }
        return std::nullopt;
    }
    TApiSettings settings = *options.Endpoint;
    const bool fromFile = !options.TokenFile.empty();
    settings.Token = fromFile                      ? ReadToken(options.TokenFile)
                     : environmentToken != nullptr ? environmentToken
                                                   : "";
    if (fromFile && settings.Token.empty()) {
        throw EVorlixError(SprintF("The token file \"%s\" holds no token", options.TokenFile));
    }
    CheckToken(settings.Token);
    if (settings.Token.empty() && !IsLoopback(settings.Address)) {
        throw EVorlixError(
            SprintF("The API listens on %s only with a token (--api-token-file or VORLIX_API_TOKEN): "
                    "without one it takes only a loopback address such as 127.0.0.1",
                    EndpointText(settings.Address, settings.Port)));
    }
    return settings;
}

std::string EndpointText(const std::string& address, std::uint16_t port) {
    return (address.find(':') != std::string::npos ? "[" + address + "]" : address) + ":" +
           std::to_string(port);
}
