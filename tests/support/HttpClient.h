#pragma once

#include <chrono>
#include <string>
#include <vector>

// An HTTP client over libcurl for tests and benchmarks. One object keeps its connection open
// between requests, as a real client would.
class THttpClient {
public:
    struct TReply {
        long Status = 0;
        std::string Body;
        std::string Headers;
        // The value of the response header `name` (case as sent), or nothing.
        std::string Header(const std::string& name) const;
    };

    THttpClient();
    ~THttpClient();
    THttpClient(const THttpClient&) = delete;
    THttpClient& operator=(const THttpClient&) = delete;

    // Fails with std::runtime_error when no answer came within `wait`.
    TReply Send(const std::string& method, const std::string& url, const std::string& body = {},
                const std::vector<std::string>& headers = {},
                std::chrono::milliseconds wait = std::chrono::seconds(10));

private:
    void* FHandle;
};
