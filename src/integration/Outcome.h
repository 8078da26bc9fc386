#pragma once

#include <nlohmann/json.hpp>

#include <string>

// What a request from outside came to, whatever carried it (HTTP, MQTT): a document to answer
// with, or the kind of refusal and its reason.
struct TOutcome {
    enum TKind {
        Done,
        Accepted,
        // The request itself is malformed.
        Invalid,
        // It names no source or display we have.
        Unknown,
        // The named thing cannot do this now or ever.
        Refused,
        // Too much is waiting already; try again later.
        Busy,
        // It was allowed but could not be carried out.
        Failed,
        // The program did not get round to it in time.
        Unavailable,
    };

    static TOutcome Answer(nlohmann::ordered_json document, TKind kind = Done) {
        return {kind, std::move(document), {}};
    }
    static TOutcome Refusal(TKind kind, std::string reason) { return {kind, nullptr, std::move(reason)}; }

    TKind Kind = Done;
    nlohmann::ordered_json Document;
    std::string Reason;
};
