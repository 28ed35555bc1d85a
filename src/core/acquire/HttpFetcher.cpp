#include "acquire/HttpFetcher.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <string_view>

#include "platform/Files.h"
#include "platform/SystemProxy.h"
#include "shopdata/ShiftJisText.h"

namespace {

// How often a transfer wakes to look at the cancel flag while no data moves.
constexpr int kCancelPollMs = 100;

CURLcode InitCurlOnce() {
    static const CURLcode initialised = curl_global_init(CURL_GLOBAL_DEFAULT);
    return initialised;
}

struct EasyCleanup {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct MultiCleanup {
    void operator()(CURLM* handle) const { curl_multi_cleanup(handle); }
};
struct ListCleanup {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

struct BodyTarget {
    platform::AtomicFileWriter& writer;
    std::uint64_t size = 0;
};

size_t WriteBody(char* data, size_t size, size_t count, void* target) {
    auto& body = *static_cast<BodyTarget*>(target);
    const size_t length = size * count;
    // A short return ends the transfer with CURLE_WRITE_ERROR.
    if (!body.writer.Write(std::string_view(data, length))) return 0;
    body.size += length;
    return length;
}

int CheckCancel(void* cancelRequested, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<const std::atomic<bool>*>(cancelRequested)->load() ? 1 : 0;
}

}  // namespace

struct HttpFetcher::Session {
    Session(NetworkErrorReporter& reporter, const std::atomic<bool>& cancelRequested)
        : reporter(reporter), cancelRequested(cancelRequested) {}

    void ApplyTransferSettings(std::chrono::milliseconds timeout);
    void ApplyConnectionSettings(const ConnectionSettings& settings);
    CURLcode Perform();
    std::string FailureText(CURLcode result) const;

    NetworkErrorReporter& reporter;
    const std::atomic<bool>& cancelRequested;
    std::unique_ptr<curl_slist, ListCleanup> headers;
    std::unique_ptr<CURL, EasyCleanup> easy;
    // Owns the kept-alive connection between calls.
    std::unique_ptr<CURLM, MultiCleanup> multi;
    char errorText[CURL_ERROR_SIZE] = {};
};

void HttpFetcher::Session::ApplyTransferSettings(std::chrono::milliseconds timeout) {
    CURL* handle = easy.get();
    // The stall window counts whole seconds; it must not round down to none.
    const long stallSeconds = static_cast<long>(
        std::max<std::chrono::milliseconds::rep>(1, (timeout.count() + 999) / 1000));
    curl_easy_setopt(handle, CURLOPT_USERAGENT, "Veradune");
    curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 0L);
    // Timeouts must not use signals: the fetch runs on a worker thread.
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(timeout.count()));
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, stallSeconds);
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, WriteBody);
    curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, CheckCancel);
    curl_easy_setopt(handle, CURLOPT_XFERINFODATA, &cancelRequested);
    curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, errorText);
}

void HttpFetcher::Session::ApplyConnectionSettings(const ConnectionSettings& settings) {
    CURL* handle = easy.get();
    if (!settings.proxyEnabled) {
        // Named even when empty: left unset, libcurl would read the environment's
        // proxy itself, also on Windows, where the system's settings lie elsewhere.
        const platform::SystemProxy system = platform::SystemHttpProxy();
        curl_easy_setopt(handle, CURLOPT_PROXY, system.server.c_str());
        curl_easy_setopt(handle, CURLOPT_NOPROXY, system.bypass.c_str());
        return;
    }
    curl_easy_setopt(handle, CURLOPT_PROXY, settings.proxyServer.c_str());
    // The system's no_proxy must not bypass the configured proxy.
    curl_easy_setopt(handle, CURLOPT_NOPROXY, "");
    const auto port = static_cast<std::uint16_t>(settings.proxyPort);
    if (port != 0) curl_easy_setopt(handle, CURLOPT_PROXYPORT, static_cast<long>(port));
    if (!settings.proxyUser.empty()) {
        curl_easy_setopt(handle, CURLOPT_PROXYUSERNAME, settings.proxyUser.c_str());
        curl_easy_setopt(handle, CURLOPT_PROXYPASSWORD, settings.proxyPassword.c_str());
    }
}

// The multi interface instead of curl_easy_perform, whose idle poll lasts a second:
// a cancel must end the transfer well within the worker's stop timeout.
CURLcode HttpFetcher::Session::Perform() {
    if (curl_multi_add_handle(multi.get(), easy.get()) != CURLM_OK) return CURLE_OUT_OF_MEMORY;
    // Left in place only when the multi interface itself fails, which it does only
    // when out of memory.
    CURLcode result = CURLE_OUT_OF_MEMORY;
    int running = 1;
    while (running != 0) {
        if (curl_multi_perform(multi.get(), &running) != CURLM_OK) break;
        if (running != 0 &&
            curl_multi_poll(multi.get(), nullptr, 0, kCancelPollMs, nullptr) != CURLM_OK)
            break;
    }
    int queued = 0;
    while (const CURLMsg* message = curl_multi_info_read(multi.get(), &queued))
        if (message->msg == CURLMSG_DONE) result = message->data.result;
    curl_multi_remove_handle(multi.get(), easy.get());
    return result;
}

std::string HttpFetcher::Session::FailureText(CURLcode result) const {
    const std::string message = errorText[0] != '\0' ? errorText : curl_easy_strerror(result);
    return "ErrorCode = " + FormatInt(result) + " : " + message;
}

HttpFetcher::HttpFetcher(std::unique_ptr<Session> session) : m_session(std::move(session)) {}

std::uint32_t HttpFetcher::Fail(std::string why) {
    m_lastFailure = std::move(why);
    return 0;
}

HttpFetcher::~HttpFetcher() = default;

std::uint32_t HttpFetcher::FetchToFile(const std::string& host, const std::string& objectPath,
                                       const std::string& localPath) {
    // A page can be fetched again, so it is not flushed to disk: the rename alone
    // keeps it whole if the program dies, and thousands of pages need not wait
    // on the disk one by one.
    platform::AtomicFileWriter writer;
    const auto cannotWrite = [&] {
        return Fail(localPath + ": " + std::strerror(writer.ErrorNumber()));
    };
    if (!writer.Open(localPath, platform::FileAccess::Everyone, platform::FileSync::NoFlush))
        return cannotWrite();

    Session& session = *m_session;
    const std::string url = "http://" + host + "/" + objectPath;
    BodyTarget body{writer};
    curl_easy_setopt(session.easy.get(), CURLOPT_URL, url.c_str());
    curl_easy_setopt(session.easy.get(), CURLOPT_WRITEDATA, &body);
    session.errorText[0] = '\0';
    const CURLcode result = session.Perform();

    // A cancel and a local write failure are no network errors.
    if (result == CURLE_WRITE_ERROR) return cannotWrite();
    if (result == CURLE_ABORTED_BY_CALLBACK) return Fail({});
    if (result != CURLE_OK) {
        const std::string failure = session.FailureText(result);
        session.reporter.ShowNetworkError(failure, "LanguageSelect");
        return Fail(failure);
    }
    long status = 0;
    curl_easy_getinfo(session.easy.get(), CURLINFO_RESPONSE_CODE, &status);
    if (status != 200) return Fail("HTTP " + FormatInt(static_cast<int>(status)) + " : " + url);
    if (body.size == 0) return Fail("HTTP 200 : " + url + " (empty)");
    if (!writer.Commit()) return cannotWrite();
    return static_cast<std::uint32_t>(
        std::min<std::uint64_t>(body.size, std::numeric_limits<std::uint32_t>::max()));
}

HttpFetcherStart StartHttpFetcher(const ConnectionSettings& settings,
                                  NetworkErrorReporter& reporter,
                                  const std::atomic<bool>& cancelRequested,
                                  std::chrono::milliseconds timeout) {
    HttpFetcherStart start;
    if (const CURLcode initialised = InitCurlOnce(); initialised != CURLE_OK) {
        start.error = std::string("curl_global_init: ") + curl_easy_strerror(initialised);
        return start;
    }
    auto session = std::make_unique<HttpFetcher::Session>(reporter, cancelRequested);
    for (const char* header : {"Cache-Control: no-cache", "Pragma: no-cache"}) {
        curl_slist* extended = curl_slist_append(session->headers.get(), header);
        if (extended == nullptr) {
            start.error = "curl_slist_append: out of memory";
            return start;
        }
        // The list grows in place; only the first append gives a new head.
        if (!session->headers) session->headers.reset(extended);
    }
    session->easy.reset(curl_easy_init());
    session->multi.reset(curl_multi_init());
    if (!session->easy || !session->multi) {
        start.error = session->easy ? "curl_multi_init failed" : "curl_easy_init failed";
        return start;
    }
    session->ApplyTransferSettings(timeout);
    session->ApplyConnectionSettings(settings);
    start.fetcher = std::make_unique<HttpFetcher>(std::move(session));
    return start;
}
