#pragma once

#include "datasources/HttpFetch.h"
#include "datasources/JsonObjectMembers.h"

#include <atomic>
#include <optional>
#include <string>
#include <thread>

// A JSON object document as fetched: its text, reduced to ASCII, and its top-level members.
struct TJsonDocument {
    std::string Text;
    TJsonObjectMembers Members;
};

// Fetches and reads one JSON object document on a thread of its own, so that no caller waits for the
// network. Destroying the fetch aborts a transfer in flight at once.
class TJsonDocumentFetch {
public:
    TJsonDocumentFetch(const std::string& url, const std::string& caFile);
    ~TJsonDocumentFetch();
    TJsonDocumentFetch(const TJsonDocumentFetch&) = delete;
    TJsonDocumentFetch& operator=(const TJsonDocumentFetch&) = delete;

    bool Finished() const { return FFinished.load(); }
    // Once finished: the document, or the failure raised again.
    TJsonDocument TakeDocument();

private:
    void Run(const std::string& url);

    THttpFetch FHttp;
    TJsonDocument FDocument;
    std::optional<std::string> FError;
    std::atomic<bool> FFinished{false};
    // Last, so that the thread starts once everything it uses exists.
    std::thread FThread;
};
