#pragma once
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
    // libcurl's handles and the fetch settings; made only by StartHttpFetcher.
    struct Session;

    explicit HttpFetcher(std::unique_ptr<Session> session);
    ~HttpFetcher() override;
    HttpFetcher(const HttpFetcher&) = delete;
    HttpFetcher& operator=(const HttpFetcher&) = delete;

    // `host` may carry ":port"; `objectPath` is relative to the server root.
    std::uint32_t FetchToFile(const std::string& host, const std::string& objectPath,
                              const std::string& localPath) override;
    std::string LastFailure() const override { return m_lastFailure; }

private:
    std::uint32_t Fail(std::string why);

    std::unique_ptr<Session> m_session;
    std::string m_lastFailure;
};

struct HttpFetcherStart {
    std::unique_ptr<HttpFetcher> fetcher;  // null when it could not be made
    std::string error;                     // why not, in libcurl's words; empty on success
};

// Makes a fetcher for these connection settings. `timeout` bounds the connect and
// any stretch without data; a slow page that keeps moving is never cut off.
// `cancelRequested` aborts a transfer in progress; it and `reporter` must outlive
// the fetcher.
HttpFetcherStart StartHttpFetcher(const ConnectionSettings& settings,
                                  NetworkErrorReporter& reporter,
                                  const std::atomic<bool>& cancelRequested,
                                  std::chrono::milliseconds timeout = std::chrono::seconds(10));
