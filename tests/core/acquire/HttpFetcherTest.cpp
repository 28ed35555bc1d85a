#include <gtest/gtest.h>

#include <thread>

#include "acquire/HttpFetcher.h"
#include "acquire/PortalQuery.h"
#include "platform/Files.h"
#include "portal/PortalServer.h"
#include "support/FileSizeLimit.h"
#include "support/RecordingNetworkErrors.h"
#include "support/ShiftJisLiteral.h"
#include "support/TestFiles.h"

namespace {

using std::chrono::milliseconds;
enum ShopId : int { kWhole = 1, kStalled = 5 };

// Every byte value, so that no conversion or truncation on the way goes unnoticed.
std::string BinaryPage(size_t size) {
    std::string page(size, '\0');
    for (size_t i = 0; i < size; ++i) page[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
    return page;
}

std::unique_ptr<portal::PortalServer> StartPortal(portal::PortalSettings settings) {
    using portal::FaultKind;
    // Cut, reset, empty and other failing pages are the fault matrix's.
    const std::pair<FaultKind, int> faults[] = {
        {FaultKind::Status, 302}, {FaultKind::Status, 304}, {FaultKind::Stall, kStalled}};
    for (const auto& [kind, shopId] : faults)
        settings.faults.push_back(
            {kind, kind == FaultKind::Status ? shopId : 60, {{portal::PortalPage::Shop, shopId}}});
    auto server = std::make_unique<portal::PortalServer>(
        std::make_shared<portal::MemoryPageSource>(
            std::map<int, std::string>{}, std::map<int, std::string>{{kWhole, BinaryPage(5000)}}),
        std::move(settings));
    return server->Start(0) ? std::move(server) : nullptr;
}

class HttpFetcherTest : public ::testing::Test {
protected:
    void SetUp() override {
        portal::PortalSettings guarded;
        guarded.proxyAuth = portal::Credentials{"sailor", "s3cret:&"};
        m_proxy = StartPortal(std::move(guarded));
        ASSERT_TRUE(m_portal && m_proxy);
        ASSERT_TRUE(platform::WriteFileAtomically(m_path, "earlier page"));
    }

    std::uint32_t Fetch(int shopId, const ConnectionSettings& settings = {},
                        milliseconds timeout = milliseconds(1000), std::string host = "") {
        HttpFetcherStart start = StartHttpFetcher(settings, m_errors, m_cancel, timeout);
        EXPECT_TRUE(start.fetcher && start.error.empty()) << start.error;
        return start.fetcher->FetchToFile(host.empty() ? m_portal->HostPort() : host,
                                          ShopPageQuery(shopId), m_path);
    }

    TempFolder m_folder;
    std::string m_path = m_folder.File("ShopNo001.html");
    std::unique_ptr<portal::PortalServer> m_portal = StartPortal({}), m_proxy;
    RecordingNetworkErrors m_errors;
    std::atomic<bool> m_cancel{false};
};

// Only a whole body with status 200 replaces the saved page; a network failure
// shows one error box, any other answer none. Without a proxy of its own the fetch
// takes the system's (http_proxy, no_proxy); with one, the system's is ignored.
TEST_F(HttpFetcherTest, OnlyAWholePageReplacesTheSavedOne) {
    const auto proxy = [](std::string server, int port, std::string user, std::string pass) {
        return ConnectionSettings{true, std::move(server), port, std::move(user), std::move(pass)};
    };
    const int guarded = m_proxy->Port();
    const std::string portalProxy = "127.0.0.1:" + std::to_string(m_portal->Port());
    const struct {
        int shopId;
        std::uint32_t size;
        std::string error;  // start of the error box text; empty: none
        ConnectionSettings settings = {};
        std::string host = "portal.invalid:8642";  // reached only through the proxy
        // The system's proxy refuses: only no_proxy or a proxy of its own gets past it.
        std::string httpProxy = "http://127.0.0.1:1", noProxy = "127.0.0.1,portal.invalid";
    } cases[] = {
        {kWhole, 5000, "", {}, ""},
        {302, 0, "", {}, ""},
        {304, 0, "", {}, ""},
        {kStalled, 0, "ErrorCode = 28 : ", {}, ""},
        {kWhole, 0, "ErrorCode = 7 : ", {}, "127.0.0.1:1"},
        {kWhole, 5000, "", {}, "portal.invalid:8642", portalProxy, ""},
        {kWhole, 5000, "", proxy(portalProxy, 0, "", "")},
        // Only the low 16 bits of the port count.
        {kWhole, 5000, "", proxy("127.0.0.1", 0x10000 + guarded, "sailor", "s3cret:&")},
        {kWhole, 0, "", proxy("127.0.0.1", guarded, "", "")},
        {kWhole, 0, "", proxy("127.0.0.1", guarded, "sailor", "guess")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.shopId) + " " + c.settings.proxyServer + " " + c.host + " " +
                     c.httpProxy);
        ::setenv("http_proxy", c.httpProxy.c_str(), 1);
        ::setenv("no_proxy", c.noProxy.c_str(), 1);
        m_errors = {};
        ASSERT_TRUE(platform::WriteFileAtomically(m_path, "earlier page"));
        EXPECT_EQ(Fetch(c.shopId, c.settings, milliseconds(1000), c.host), c.size);
        EXPECT_TRUE(ReadBytes(m_path) == (c.size ? BinaryPage(c.size) : "earlier page"));
        EXPECT_EQ(FolderEntries(m_folder.Path()), std::vector<std::string>{"ShopNo001.html"});
        ASSERT_EQ(m_errors.texts.size(), c.error.empty() ? 0u : 1u);
        if (c.error.empty()) continue;
        EXPECT_TRUE(m_errors.texts[0].starts_with(c.error) &&
                    m_errors.texts[0].size() > c.error.size() + 3)
            << m_errors.texts[0];
        EXPECT_EQ(m_errors.captions[0], "LanguageSelect");
    }
    ::unsetenv("http_proxy");
    ::unsetenv("no_proxy");
    EXPECT_EQ(m_proxy->Log().lastTarget, "http://portal.invalid:8642/" + ShopPageQuery(kWhole));
}

// Pages go one after another over one kept-alive connection, also past an answer
// that was no page; the account arrives as typed. A cancel ends a fetch silently.
// (A slow page and local write failures are the fault matrix's and UnwritableTest's.)
TEST_F(HttpFetcherTest, KeepsTheConnectionAndEndsSilentlyOnCancel) {
    const std::string id = "a&b c=d#e" + S("船長"), password = "p&w =#%+" + S("秘密");
    const auto fetcher = StartHttpFetcher({}, m_errors, m_cancel).fetcher;
    for (const auto& [shopId, size] : {std::pair{1, 5000u}, {302, 0u}, {1, 5000u}})
        EXPECT_EQ(fetcher->FetchToFile(m_portal->HostPort(),
                                       ShopPageQuery(shopId) + AccountSuffix(id, password), m_path),
                  size);
    const portal::RequestLog log = m_portal->Log();
    EXPECT_EQ(log.connections.size(), 1u);
    EXPECT_TRUE(log.lastHvid == id && log.lastPass == password);
    EXPECT_EQ(log.lastUserAgent, "Veradune");

    ASSERT_TRUE(platform::WriteFileAtomically(m_path, "earlier page"));
    std::thread canceller([&] {
        while (m_portal->Log().total == log.total) std::this_thread::sleep_for(milliseconds(5));
        m_cancel = true;
    });
    const auto begin = std::chrono::steady_clock::now();
    EXPECT_EQ(Fetch(kStalled, {}, milliseconds(30000)), 0u);
    canceller.join();
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(5));
    EXPECT_EQ(ReadBytes(m_path), "earlier page");
    EXPECT_EQ(FolderEntries(m_folder.Path()), std::vector<std::string>{"ShopNo001.html"});
    EXPECT_TRUE(m_errors.texts.empty());
}

}  // namespace
