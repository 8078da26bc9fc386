#include "support/HttpClient.h"

#include <curl/curl.h>

#include <stdexcept>

namespace {

std::size_t Append(char* data, std::size_t size, std::size_t count, void* target) {
    static_cast<std::string*>(target)->append(data, size * count);
    return size * count;
}

} // namespace

std::string THttpClient::TReply::Header(const std::string& name) const {
    const std::string key = "\r\n" + name + ": ";
    const std::size_t start = ("\r\n" + Headers).find(key);
    if (start == std::string::npos) {
        return {};
    }
    const std::size_t value = start + key.size() - 2;
    return Headers.substr(value, Headers.find("\r\n", value) - value);
}

THttpClient::THttpClient() : FHandle(curl_easy_init()) {
    if (FHandle == nullptr) {
        throw std::runtime_error("curl_easy_init failed");
    }
}

THttpClient::~THttpClient() {
    curl_easy_cleanup(FHandle);
}

THttpClient::TReply THttpClient::Send(const std::string& method, const std::string& url,
                                      const std::string& body, const std::vector<std::string>& headers,
                                      std::chrono::milliseconds wait) {
    CURL* curl = FHandle;
    TReply reply;
    curl_slist* list = nullptr;
    for (const std::string& header : headers) {
        list = curl_slist_append(list, header.c_str());
    }
    // curl would otherwise wait for a "100 Continue" before sending a larger body.
    list = curl_slist_append(list, "Expect:");
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, method.c_str());
    curl_easy_setopt(curl, CURLOPT_NOBODY, method == "HEAD" ? 1L : 0L);
    if (method == "GET" || method == "HEAD") {
        curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
        curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, method == "HEAD" ? "HEAD" : nullptr);
    } else {
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.data());
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE, static_cast<long>(body.size()));
    }
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, list);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Append);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &reply.Body);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, Append);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &reply.Headers);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(wait.count()));
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    const CURLcode result = curl_easy_perform(curl);
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, nullptr);
    curl_slist_free_all(list);
    if (result != CURLE_OK) {
        throw std::runtime_error(std::string("HTTP request failed: ") + curl_easy_strerror(result));
    }
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &reply.Status);
    return reply;
}
