// The one place that talks to libcurl.
#include "datasources/HttpFetch.h"

#include "platform/SprintF.h"
#include "platform/VorlixError.h"

#include <curl/curl.h>

#include <memory>

namespace {

// libcurl's global state, set up once before the first request and torn down at exit.
struct TCurlGlobal {
    TCurlGlobal() { curl_global_init(CURL_GLOBAL_DEFAULT); }
    ~TCurlGlobal() { curl_global_cleanup(); }
};

void EnsureCurlGlobal() {
    static const TCurlGlobal global;
}

struct TEasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
using TEasyHandle = std::unique_ptr<CURL, TEasyDeleter>;

struct TTransfer {
    std::string Body;
    bool TooLarge = false;
};

std::size_t AppendBody(char* data, std::size_t size, std::size_t count, void* userData) {
    auto& transfer = *static_cast<TTransfer*>(userData);
    const std::size_t bytes = size * count;
    if (transfer.Body.size() + bytes > THttpFetch::MaxBodySize) {
        transfer.TooLarge = true;
        return 0;
    }
    transfer.Body.append(data, bytes);
    return bytes;
}

TEasyHandle NewRequest(const std::string& url, const std::string& caFile, TTransfer& transfer,
                       char* errorText) {
    TEasyHandle easy(curl_easy_init());
    if (!easy) {
        throw EVorlixError(SprintF("HTTP GET %s failed: cannot create a request", url));
    }
    CURL* e = easy.get();
    curl_easy_setopt(e, CURLOPT_URL, url.c_str());
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(e, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, 5000L);
    curl_easy_setopt(e, CURLOPT_TIMEOUT_MS, 15000L);
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    // An aborted request must not wait for a name lookup still running.
    curl_easy_setopt(e, CURLOPT_QUICK_EXIT, 1L);
    curl_easy_setopt(e, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(e, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!caFile.empty()) {
        curl_easy_setopt(e, CURLOPT_CAINFO, caFile.c_str());
    }
    curl_easy_setopt(e, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(THttpFetch::MaxBodySize));
    curl_easy_setopt(e, CURLOPT_USERAGENT, "vorlix-client/" VORLIX_VERSION);
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, AppendBody);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(e, CURLOPT_ERRORBUFFER, errorText);
    return easy;
}

// Runs an easy request inside a multi handle for its lifetime.
class TAttachedRequest {
public:
    TAttachedRequest(CURLM* multi, CURL* easy) : FMulti(multi), FEasy(easy) {
        FAttached = multi != nullptr && curl_multi_add_handle(multi, easy) == CURLM_OK;
    }
    ~TAttachedRequest() {
        if (FAttached) {
            curl_multi_remove_handle(FMulti, FEasy);
        }
    }
    TAttachedRequest(const TAttachedRequest&) = delete;
    TAttachedRequest& operator=(const TAttachedRequest&) = delete;

    bool Attached() const { return FAttached; }

private:
    CURLM* FMulti;
    CURL* FEasy;
    bool FAttached;
};

std::string FailureReason(CURLcode code, const TTransfer& transfer, const char* errorText) {
    if (transfer.TooLarge || code == CURLE_FILESIZE_EXCEEDED) {
        return "the response is larger than " + SizeLimitText(THttpFetch::MaxBodySize);
    }
    return errorText[0] != '\0' ? errorText : curl_easy_strerror(code);
}

} // namespace

THttpFetch::THttpFetch() {
    EnsureCurlGlobal();
    FMulti = curl_multi_init();
}

THttpFetch::~THttpFetch() {
    curl_multi_cleanup(FMulti);
}

void THttpFetch::Abort() {
    FAborted = true;
    curl_multi_wakeup(FMulti);
}

std::string THttpFetch::Get(const std::string& url) {
    TTransfer transfer;
    char errorText[CURL_ERROR_SIZE] = {};
    const TEasyHandle easy = NewRequest(url, FCaFile, transfer, errorText);
    const TAttachedRequest request(FMulti, easy.get());
    if (!request.Attached()) {
        throw EVorlixError(SprintF("HTTP GET %s failed: cannot start the request", url));
    }
    int running = 1;
    while (running > 0 && !FAborted) {
        const CURLMcode multiCode = curl_multi_perform(FMulti, &running);
        if (multiCode != CURLM_OK) {
            throw EVorlixError(SprintF("HTTP GET %s failed: %s", url, curl_multi_strerror(multiCode)));
        }
        if (running > 0) {
            curl_multi_poll(FMulti, nullptr, 0, 1000, nullptr);
        }
    }
    if (FAborted) {
        throw EVorlixError(SprintF("HTTP GET %s aborted", url));
    }
    int pending = 0;
    const CURLMsg* message = curl_multi_info_read(FMulti, &pending);
    const CURLcode code = message != nullptr ? message->data.result : CURLE_RECV_ERROR;
    if (code != CURLE_OK) {
        throw EVorlixError(SprintF("HTTP GET %s failed: %s", url, FailureReason(code, transfer, errorText)));
    }
    long status = 0;
    curl_easy_getinfo(easy.get(), CURLINFO_RESPONSE_CODE, &status);
    if (status < 200 || status > 299) {
        throw EVorlixError(SprintF("HTTP GET %s failed: status %d", url, status));
    }
    return std::move(transfer.Body);
}
