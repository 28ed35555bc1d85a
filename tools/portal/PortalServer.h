#pragma once
#include <httplib.h>

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>

#include "portal/PageSource.h"
#include "portal/PortalOptions.h"
#include "portal/RequestTarget.h"
#include "portal/ShutdownLatch.h"

namespace portal {

// What reached the server, for tests to check what a client sent.
struct RequestLog {
    int total = 0;
    std::map<std::string, int> byTarget;  // request target exactly as received
    std::map<int, int> cityRequests;      // company list queries by Tid
    std::map<int, int> shopRequests;      // shop page queries by Cid
    std::string lastTarget;
    // The account of the last request: raw as on the wire, and decoded as the
    // portal compares it. Empty when the query had no such key.
    std::optional<std::string> lastHvidRaw;
    std::optional<std::string> lastPassRaw;
    std::optional<std::string> lastHvid;
    std::optional<std::string> lastPass;
    std::optional<std::string> lastProxyAuthorization;  // the header of the last request
    std::string lastUserAgent;
    // The connections the requests came over, told apart by the client's address
    // and port: a client that keeps its connection alive sends many over one.
    std::set<std::pair<std::string, int>> connections;
};

// A stand-in for the game portal on 127.0.0.1. It answers the company list and shop
// page queries, also in the absolute form a client sends to a proxy, so it serves
// as the client's proxy too. Pages go out byte for byte as `pages` holds them.
class PortalServer {
public:
    PortalServer(std::shared_ptr<const PageSource> pages, PortalSettings settings);
    ~PortalServer();
    PortalServer(const PortalServer&) = delete;
    PortalServer& operator=(const PortalServer&) = delete;

    // Binds 127.0.0.1:`port` (0: a free port) and serves on a thread of its own
    // until Stop. Once per server; false when the port cannot be bound.
    bool Start(int port);
    // Ends waits in progress (stalls, slow bodies, latency) and returns when the
    // server thread has ended.
    void Stop();

    int Port() const { return m_port; }
    std::string HostPort() const;  // "127.0.0.1:PORT", the host a client is given
    std::string Url() const;       // "http://127.0.0.1:PORT"

    RequestLog Log() const;

    // Serves `pages` from the next request on, as the portal does when a new day
    // begins; safe while requests are answered.
    void SetPages(std::shared_ptr<const PageSource> pages);

private:
    httplib::Server::HandlerResponse BeforeRouting(const httplib::Request& request,
                                                   httplib::Response& response);
    void Record(const httplib::Request& request, const RequestTarget& target);
    bool ProxyAuthorized(const httplib::Request& request) const;
    void AnswerPortalQuery(const httplib::Request& request, httplib::Response& response);
    void AnswerFault(const FaultRule& fault, const httplib::Request& request,
                     const RequestTarget& target, httplib::Response& response);
    void AnswerPage(const RequestTarget& target, httplib::Response& response) const;
    // The answer without faults: status and body.
    std::pair<int, std::string> Page(const RequestTarget& target) const;
    bool AccountAccepted(const RequestTarget& target) const;

    mutable std::mutex m_pagesMutex;
    std::shared_ptr<const PageSource> m_pages;
    PortalSettings m_settings;
    std::string m_expectedProxyAuthorization;
    ShutdownLatch m_latch;
    mutable std::mutex m_logMutex;
    RequestLog m_log;
    httplib::Server m_http;
    std::thread m_thread;
    bool m_started = false;
    int m_port = -1;
};

}  // namespace portal
