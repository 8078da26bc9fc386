#pragma once

#include "platform/InputLimit.h"

#include <atomic>
#include <cstddef>
#include <string>

// HTTP(S) GET with peer and host verification, up to 5 redirects, a 5 s connect and a 15 s overall
// time-out, and a body limit. Another thread may abort a request in progress.
class THttpFetch {
public:
    static constexpr std::size_t MaxBodySize = MaxInputSize;

    THttpFetch();
    ~THttpFetch();
    THttpFetch(const THttpFetch&) = delete;
    THttpFetch& operator=(const THttpFetch&) = delete;

    // The body of a 2xx response to a GET of `url` (http or https). Fails with a message that names
    // the URL and the reason.
    std::string Get(const std::string& url);
    // Makes the request in progress, and any later one, fail at once. Safe from any thread.
    void Abort();

    // Certificates to trust instead of the system's store; empty means the system's store.
    const std::string& CaFile() const { return FCaFile; }
    void SetCaFile(std::string caFile) { FCaFile = std::move(caFile); }

private:
    std::string FCaFile;
    std::atomic<bool> FAborted{false};
    // The curl multi handle the request runs in; Abort wakes it from its wait for the network.
    void* FMulti;
};
