#include "portal/PortalServer.h"

#include <cctype>

#include "portal/FaultAnswers.h"
#include "portal/PortalPages.h"
#include "portal/PortalSockets.h"

namespace portal {

namespace {

// The one path the portal answers, in origin form or after a scheme and host.
constexpr char kPortalPathPattern[] = R"((?:[A-Za-z][A-Za-z0-9+.-]*://[^/?]*)?/ovl/web/d)";

bool SameCredentials(const std::string& header, const std::string& expected) {
    const size_t space = expected.find(' ');
    if (header.size() != expected.size() || header.find(' ') != space) return false;
    // The scheme name is case-insensitive, the credentials are not.
    for (size_t i = 0; i < space; ++i) {
        if (std::tolower(static_cast<unsigned char>(header[i])) !=
            std::tolower(static_cast<unsigned char>(expected[i]))) {
            return false;
        }
    }
    return header.compare(space, std::string::npos, expected, space) == 0;
}

}  // namespace

PortalServer::PortalServer(std::shared_ptr<const PageSource> pages, PortalSettings settings)
    : m_pages(std::move(pages)), m_settings(std::move(settings)) {
    if (m_settings.proxyAuth) {
        m_expectedProxyAuthorization =
            httplib::make_basic_authentication_header(m_settings.proxyAuth->user,
                                                      m_settings.proxyAuth->password, true)
                .second;
    }
    m_http.set_socket_options(ReuseAddressOnly);
    // An answer goes out as two writes, head and body. With Nagle's algorithm the
    // body of an answer on a kept-alive connection would wait for the client's
    // delayed acknowledgement of the head, some 40 ms per request; web servers
    // turn it off.
    m_http.set_tcp_nodelay(true);
    m_http.set_pre_routing_handler(
        [this](const httplib::Request& request, httplib::Response& response) {
            return BeforeRouting(request, response);
        });
    m_http.Get(kPortalPathPattern,
               [this](const httplib::Request& request, httplib::Response& response) {
                   AnswerPortalQuery(request, response);
               });
}

PortalServer::~PortalServer() {
    Stop();
}

bool PortalServer::Start(int port) {
    if (m_started) return false;
    m_started = true;
    if (port == 0) {
        m_port = m_http.bind_to_any_port("127.0.0.1");
        if (m_port < 0) return false;
    } else {
        if (!m_http.bind_to_port("127.0.0.1", port)) return false;
        m_port = port;
    }
    m_thread = std::thread([this] { m_http.listen_after_bind(); });
    // Stop before the accept loop runs would be missed by the library, so Start
    // returns only once it runs.
    while (!m_http.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return true;
}

void PortalServer::Stop() {
    m_latch.Release();
    m_http.stop();
    if (m_thread.joinable()) m_thread.join();
}

std::string PortalServer::HostPort() const {
    return "127.0.0.1:" + std::to_string(m_port);
}

std::string PortalServer::Url() const {
    return "http://" + HostPort();
}

RequestLog PortalServer::Log() const {
    std::lock_guard lock(m_logMutex);
    return m_log;
}

void PortalServer::SetPages(std::shared_ptr<const PageSource> pages) {
    std::lock_guard lock(m_pagesMutex);
    m_pages = std::move(pages);
}

httplib::Server::HandlerResponse PortalServer::BeforeRouting(const httplib::Request& request,
                                                             httplib::Response& response) {
    const RequestTarget target = ParseRequestTarget(request.target);
    Record(request, target);
    if (m_settings.latencyMs > 0) m_latch.WaitFor(std::chrono::milliseconds(m_settings.latencyMs));
    if (target.absoluteForm && m_settings.proxyAuth && !ProxyAuthorized(request)) {
        response.status = 407;
        response.set_header("Proxy-Authenticate", "Basic realm=\"veradune\"");
        response.set_content(StatusPage(407), kHtmlType);
        return httplib::Server::HandlerResponse::Handled;
    }
    return httplib::Server::HandlerResponse::Unhandled;
}

void PortalServer::Record(const httplib::Request& request, const RequestTarget& target) {
    std::lock_guard lock(m_logMutex);
    ++m_log.total;
    ++m_log.byTarget[request.target];
    if (target.id && target.page == PortalPage::City) ++m_log.cityRequests[*target.id];
    if (target.id && target.page == PortalPage::Shop) ++m_log.shopRequests[*target.id];
    m_log.lastTarget = request.target;
    m_log.lastHvidRaw = target.hvid;
    m_log.lastPassRaw = target.pass;
    m_log.lastHvid = target.hvid ? std::optional(DecodeQueryValue(*target.hvid)) : std::nullopt;
    m_log.lastPass = target.pass ? std::optional(DecodeQueryValue(*target.pass)) : std::nullopt;
    m_log.lastProxyAuthorization =
        request.has_header("Proxy-Authorization")
            ? std::optional(request.get_header_value("Proxy-Authorization"))
            : std::nullopt;
    m_log.lastUserAgent = request.get_header_value("User-Agent");
    m_log.connections.emplace(request.remote_addr, request.remote_port);
}

bool PortalServer::ProxyAuthorized(const httplib::Request& request) const {
    return request.has_header("Proxy-Authorization") &&
           SameCredentials(request.get_header_value("Proxy-Authorization"),
                           m_expectedProxyAuthorization);
}

void PortalServer::AnswerPortalQuery(const httplib::Request& request, httplib::Response& response) {
    const RequestTarget target = ParseRequestTarget(request.target);
    for (const FaultRule& fault : m_settings.faults) {
        if (fault.Matches(target)) {
            AnswerFault(fault, request, target, response);
            return;
        }
    }
    AnswerPage(target, response);
}

void PortalServer::AnswerPage(const RequestTarget& target, httplib::Response& response) const {
    auto [status, body] = Page(target);
    response.status = status;
    if (status == 200) response.set_content(std::move(body), kHtmlType);
}

void PortalServer::AnswerFault(const FaultRule& fault, const httplib::Request& request,
                               const RequestTarget& target, httplib::Response& response) {
    // Faults that spoil a delivery spoil the page the request would get, or the login
    // page where it would get none.
    auto deliveredPage = [&] {
        auto [status, body] = Page(target);
        return status == 200 ? std::move(body) : LoginPage();
    };
    switch (fault.kind) {
        case FaultKind::Status:
            response.status = fault.value;
            if (fault.value != 204 && fault.value != 304) {
                response.set_content(StatusPage(fault.value), kHtmlType);
            }
            return;
        case FaultKind::Stall:
            m_latch.WaitFor(std::chrono::seconds(fault.value));
            AnswerPage(target, response);
            return;
        case FaultKind::Cut:
            AnswerCut(response, deliveredPage());
            return;
        case FaultKind::Reset:
            if (!ResetConnection({request.local_addr, request.local_port},
                                 {request.remote_addr, request.remote_port})) {
                response.status = 500;
                response.set_content("veradune-portal: the connection could not be reset\n",
                                     "text/plain");
            }
            return;
        case FaultKind::Slow:
            AnswerSlow(response, deliveredPage(), fault.value, m_latch);
            return;
        case FaultKind::Empty:
            response.status = 200;
            response.set_content(std::string(), kHtmlType);
            return;
        case FaultKind::Huge:
            AnswerHuge(response, deliveredPage(), fault.value);
            return;
        case FaultKind::Login:
            response.status = 200;
            response.set_content(LoginPage(), kHtmlType);
            return;
    }
}

std::pair<int, std::string> PortalServer::Page(const RequestTarget& target) const {
    if (target.page == PortalPage::None || !target.id) return {404, {}};
    if (!AccountAccepted(target)) return {200, LoginPage()};
    // A request answered while the day changes keeps the pages it started with.
    const std::shared_ptr<const PageSource> pages = [this] {
        std::lock_guard lock(m_pagesMutex);
        return m_pages;
    }();
    std::optional<std::string> page =
        target.page == PortalPage::City ? pages->CityPage(*target.id) : pages->ShopPage(*target.id);
    if (!page) return {404, {}};
    return {200, std::move(*page)};
}

bool PortalServer::AccountAccepted(const RequestTarget& target) const {
    if (!m_settings.account) return true;
    return target.hvid && target.pass &&
           DecodeQueryValue(*target.hvid) == m_settings.account->user &&
           DecodeQueryValue(*target.pass) == m_settings.account->password;
}

}  // namespace portal
