#include "datasources/JsonDocumentFetch.h"

#include "platform/Encoding.h"
#include "platform/SprintF.h"
#include "platform/VorlixError.h"

#include <cassert>

namespace {

TJsonObjectMembers ReadMembers(const std::string& url, const std::string& text) {
    try {
        return ReadJsonObjectMembers(text);
    } catch (const EVorlixError& error) {
        throw EVorlixError(SprintF("Invalid JSON document from %s: %s", url, error.what()));
    }
}

} // namespace

TJsonDocumentFetch::TJsonDocumentFetch(const std::string& url, const std::string& caFile) {
    FHttp.SetCaFile(caFile);
    FThread = std::thread([this, url] { Run(url); });
}

TJsonDocumentFetch::~TJsonDocumentFetch() {
    FHttp.Abort();
    FThread.join();
}

TJsonDocument TJsonDocumentFetch::TakeDocument() {
    assert(Finished());
    if (FError) {
        throw EVorlixError(*FError);
    }
    return std::move(FDocument);
}

void TJsonDocumentFetch::Run(const std::string& url) {
    try {
        // Reduced before parsing, so letters written as \u escapes are kept as they are.
        FDocument.Text = Utf8ToAsciiBestFit(FHttp.Get(url));
        FDocument.Members = ReadMembers(url, FDocument.Text);
    } catch (const std::exception& error) {
        FError = error.what();
    }
    FFinished = true;
}
