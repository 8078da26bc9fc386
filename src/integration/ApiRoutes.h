#pragma once

#include "integration/SessionGateway.h"

#include <string>
#include <vector>

// One HTTP request as the routes see it: the method, the path's segments percent-decoded, the body.
struct TApiRequest {
    std::string Method;
    std::vector<std::string> Path;
    std::string Body;
};

struct TApiAnswer {
    int Status = 200;
    std::string ContentType = "application/json";
    std::string Body;
    // For 405: the methods the path takes.
    std::string Allow;
};

// The HTTP face of the session operations: which path and method reach which operation, the
// status codes of the outcomes, and the bearer token.
class TApiRoutes {
public:
    // With an empty token every request is let through.
    TApiRoutes(const TSessionGateway& gateway, std::string token);

    // Whether an Authorization header value lets a request through: "Bearer TOKEN" compared in
    // constant time, so that the time taken tells nothing about the token.
    bool Authorized(const std::string& authorization) const;
    TApiAnswer Answer(const TApiRequest& request) const;

    // {"error": reason} with the status.
    static TApiAnswer Error(int status, const std::string& reason);

private:
    // The outcome as JSON, or with `textType` as the text its document holds.
    TApiAnswer Call(const TSessionGateway::TOperation& operation, const std::string& textType = {}) const;

    const TSessionGateway& FGateway;
    const std::string FToken;
};
