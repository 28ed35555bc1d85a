#pragma once
#include <curl/curl.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "acquire/ConnectionSettings.h"
#include "acquire/NetworkErrorReporter.h"
#include "acquire/PageFetcher.h"

// Fetches portal pages over HTTP with libcurl. One connection is kept open between
// calls, so calls must not overlap; every call is one plain GET whose body replaces
// the local file only when it arrived whole with status 200.
class HttpFetcher : public PageFetcher {
public:
    // `timeout` bounds the connect and any stretch without data; a slow page that
    // keeps moving is never cut off. `cancelRequested` aborts a transfer in progress.
    HttpFetcher(const ConnectionSettings& settings, NetworkErrorReporter& reporter,
                const std::atomic<bool>& cancelRequested,
                std::chrono::milliseconds timeout = std::chrono::milliseconds(10000));

    // `host` may carry ":port"; `objectPath` is relative to the server root.
    std::uint32_t FetchToFile(const std::string& host, const std::string& objectPath,
                              const std::string& localPath) override;

private:
    struct EasyCleanup {
        void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
    };
    struct MultiCleanup {
        void operator()(CURLM* handle) const { curl_multi_cleanup(handle); }
    };
    struct ListCleanup {
        void operator()(curl_slist* list) const { curl_slist_free_all(list); }
    };

    void ApplyConnectionSettings(const ConnectionSettings& settings);
    CURLcode Perform();
    void ReportFailure(CURLcode result);

    NetworkErrorReporter& m_reporter;
    const std::atomic<bool>& m_cancelRequested;
    std::unique_ptr<curl_slist, ListCleanup> m_headers;
    std::unique_ptr<CURL, EasyCleanup> m_easy;
    // Owns the kept-alive connection between calls.
    std::unique_ptr<CURLM, MultiCleanup> m_multi;
    char m_errorText[CURL_ERROR_SIZE] = {};
};
