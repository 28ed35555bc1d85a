#include <gtest/gtest.h>
#include <sys/resource.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "acquire/HttpFetcher.h"
#include "acquire/PortalQuery.h"
#include "acquire/RecordingNetworkErrors.h"
#include "platform/Files.h"
#include "portal/PortalServer.h"
#include "shopdata/TextConversion.h"
#include "support/TestFiles.h"

namespace {

using portal::FaultKind;
using portal::FaultRule;
using portal::PortalPage;
using std::chrono::milliseconds;

// Shop ids the test portal answers; each fault is aimed at one of them.
enum ShopId : int {
    kWholePage = 1,
    kEmptyPage = 2,
    kCutPage = 3,
    kResetPage = 4,
    kStalledPage = 5,
    kSlowPage = 6,
};

constexpr milliseconds kTestTimeout{1000};

// Every byte value, so that no conversion or truncation on the way goes unnoticed.
std::string BinaryPage(size_t size) {
    std::string page(size, '\0');
    for (size_t i = 0; i < size; ++i) page[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
    return page;
}

FaultRule Fault(FaultKind kind, int value, int shopId) {
    return FaultRule{kind, value, {{PortalPage::Shop, shopId}}};
}

std::unique_ptr<portal::PortalServer> StartPortal(portal::PortalSettings settings) {
    auto pages = std::make_shared<portal::MemoryPageSource>(
        std::map<int, std::string>{}, std::map<int, std::string>{{kWholePage, BinaryPage(5000)},
                                                                 {kCutPage, BinaryPage(3000)},
                                                                 {kSlowPage, BinaryPage(240)}});
    auto server = std::make_unique<portal::PortalServer>(pages, std::move(settings));
    if (!server->Start(0)) return nullptr;
    return server;
}

class HttpFetcherTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        portal::PortalSettings settings;
        for (int status : {302, 304, 403, 500}) {
            settings.faults.push_back(Fault(FaultKind::Status, status, status));
        }
        settings.faults.push_back(Fault(FaultKind::Empty, 0, kEmptyPage));
        settings.faults.push_back(Fault(FaultKind::Cut, 0, kCutPage));
        settings.faults.push_back(Fault(FaultKind::Reset, 0, kResetPage));
        settings.faults.push_back(Fault(FaultKind::Stall, 60, kStalledPage));
        // 240 bytes at 100 bytes per second: longer than the stall window of the
        // test below, but moving.
        settings.faults.push_back(Fault(FaultKind::Slow, 100, kSlowPage));
        s_portal = StartPortal(std::move(settings)).release();
        ASSERT_NE(s_portal, nullptr);
    }
    static void TearDownTestSuite() {
        delete s_portal;
        s_portal = nullptr;
    }

    void SetUp() override {
        m_localPath = m_folder.File("ShopNo001.html");
        ASSERT_TRUE(platform::WriteFileAtomically(m_localPath, "earlier page"));
    }

    std::uint32_t FetchShop(int shopId, const ConnectionSettings& settings = {},
                            milliseconds timeout = kTestTimeout) {
        auto started = StartHttpFetcher(settings, m_errors, m_cancel, timeout);
        if (!started.fetcher) {
            ADD_FAILURE() << started.error;
            return 0;
        }
        return started.fetcher->FetchToFile(
            s_portal->HostPort(), ShopPageQuery(shopId) + AccountSuffix("id", "pw"), m_localPath);
    }

    // The earlier file is exactly as it was and no temporary file was left beside it.
    void ExpectEarlierFileKept() {
        std::string contents;
        EXPECT_TRUE(platform::ReadWholeFile(m_localPath, contents));
        EXPECT_EQ(contents, "earlier page");
        EXPECT_EQ(FolderEntries(m_folder.Path()), std::vector<std::string>{"ShopNo001.html"});
    }

    static portal::PortalServer* s_portal;
    TempFolder m_folder;
    std::string m_localPath;
    RecordingNetworkErrors m_errors;
    std::atomic<bool> m_cancel{false};
};

portal::PortalServer* HttpFetcherTest::s_portal = nullptr;

TEST_F(HttpFetcherTest, WholePageReplacesTheEarlierFileByteForByte) {
    EXPECT_EQ(FetchShop(kWholePage), 5000u);
    std::string contents;
    ASSERT_TRUE(platform::ReadWholeFile(m_localPath, contents));
    EXPECT_EQ(contents, BinaryPage(5000));
    EXPECT_EQ(FolderEntries(m_folder.Path()), std::vector<std::string>{"ShopNo001.html"});
    EXPECT_TRUE(m_errors.texts.empty());
    const portal::RequestLog log = s_portal->Log();
    EXPECT_EQ(log.lastTarget, "/" + ShopPageQuery(kWholePage) + "&hvid=id&pass=pw");
    EXPECT_EQ(log.lastUserAgent, "Veradune");
}

TEST_F(HttpFetcherTest, AnswersOtherThanAFullPageKeepTheEarlierFileSilently) {
    for (int shopId : {302, 304, 403, 500, int{kEmptyPage}}) {
        SCOPED_TRACE(shopId);
        EXPECT_EQ(FetchShop(shopId), 0u);
        ExpectEarlierFileKept();
    }
    EXPECT_TRUE(m_errors.texts.empty());
}

TEST_F(HttpFetcherTest, NetworkFailuresAreReportedAndKeepTheEarlierFile) {
    struct Case {
        const char* name;
        std::string host;
        int shopId;
        const char* textStart;  // empty: the code depends on the system
    };
    const Case cases[] = {
        {"refused", "127.0.0.1:1", kWholePage, "ErrorCode = 7 : "},
        {"unresolvable", "veradune-portal.invalid", kWholePage, "ErrorCode = "},
        {"cut body", s_portal->HostPort(), kCutPage, "ErrorCode = 18 : "},
        {"reset", s_portal->HostPort(), kResetPage, "ErrorCode = "},
        {"stall", s_portal->HostPort(), kStalledPage, "ErrorCode = 28 : "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingNetworkErrors errors;
        auto started = StartHttpFetcher({}, errors, m_cancel, kTestTimeout);
        ASSERT_NE(started.fetcher, nullptr) << started.error;
        HttpFetcher& fetcher = *started.fetcher;
        EXPECT_EQ(fetcher.FetchToFile(c.host, ShopPageQuery(c.shopId), m_localPath), 0u);
        ExpectEarlierFileKept();
        ASSERT_EQ(errors.texts.size(), 1u);
        EXPECT_TRUE(errors.texts[0].starts_with(c.textStart)) << errors.texts[0];
        EXPECT_GT(errors.texts[0].size(), std::string_view(c.textStart).size() + 3);
        EXPECT_EQ(errors.captions[0], "LanguageSelect");
    }
}

// libcurl measures the speed once a second, so a stall window of a single second
// could end a moving transfer before its first measurement.
TEST_F(HttpFetcherTest, SlowButMovingPageArrives) {
    EXPECT_EQ(FetchShop(kSlowPage, {}, milliseconds(2000)), 240u);
    std::string contents;
    ASSERT_TRUE(platform::ReadWholeFile(m_localPath, contents));
    EXPECT_EQ(contents, BinaryPage(240));
    EXPECT_TRUE(m_errors.texts.empty());
}

TEST_F(HttpFetcherTest, CancelEndsAStalledTransferWithoutMessage) {
    const int before = s_portal->Log().total;
    std::thread canceller([&] {
        while (s_portal->Log().total == before) std::this_thread::sleep_for(milliseconds(5));
        m_cancel = true;
    });
    // With the full timeout, only the cancel can end this fetch without a message.
    EXPECT_EQ(FetchShop(kStalledPage, {}, milliseconds(10000)), 0u);
    canceller.join();
    ExpectEarlierFileKept();
    EXPECT_TRUE(m_errors.texts.empty());
}

TEST_F(HttpFetcherTest, UnwritableFolderFailsWithoutMessage) {
    auto started = StartHttpFetcher({}, m_errors, m_cancel, kTestTimeout);
    ASSERT_NE(started.fetcher, nullptr) << started.error;
    HttpFetcher& fetcher = *started.fetcher;
    const std::filesystem::path missingFolder = m_folder.Path() / "missing";
    EXPECT_EQ(fetcher.FetchToFile(s_portal->HostPort(), ShopPageQuery(kWholePage),
                                  (missingFolder / "ShopNo001.html").string()),
              0u);
    EXPECT_FALSE(std::filesystem::exists(missingFolder));
    EXPECT_TRUE(m_errors.texts.empty());
}

// Here the file size limit makes the write fail half way, as a full disk would.
TEST_F(HttpFetcherTest, LocalWriteFailureKeepsTheEarlierFileSilently) {
    rlimit original{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &original), 0);
    rlimit limited = original;
    limited.rlim_cur = 1000;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const std::uint32_t size = FetchShop(kWholePage);
    ::setrlimit(RLIMIT_FSIZE, &original);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(size, 0u);
    ExpectEarlierFileKept();
    EXPECT_TRUE(m_errors.texts.empty());
}

TEST_F(HttpFetcherTest, AccountValuesArriveIntact) {
    const std::string id = "a&b c=d#e" + ToShiftJis("船長");
    const std::string password = "p&w =#%+" + ToShiftJis("秘密");
    auto started = StartHttpFetcher({}, m_errors, m_cancel, kTestTimeout);
    ASSERT_NE(started.fetcher, nullptr) << started.error;
    HttpFetcher& fetcher = *started.fetcher;
    EXPECT_EQ(
        fetcher.FetchToFile(s_portal->HostPort(),
                            ShopPageQuery(kWholePage) + AccountSuffix(id, password), m_localPath),
        5000u);
    const portal::RequestLog log = s_portal->Log();
    EXPECT_EQ(log.lastHvid, id);
    EXPECT_EQ(log.lastPass, password);
}

// Thousands of pages are fetched one after another, so one fetcher keeps its
// connection open between them, also past an answer that was not a page.
TEST_F(HttpFetcherTest, ConsecutiveFetchesShareOneConnection) {
    const size_t connectionsBefore = s_portal->Log().connections.size();
    auto started = StartHttpFetcher({}, m_errors, m_cancel, kTestTimeout);
    ASSERT_NE(started.fetcher, nullptr) << started.error;
    HttpFetcher& fetcher = *started.fetcher;
    for (const auto& [shopId, expected] :
         {std::pair{int{kWholePage}, 5000u}, {403, 0u}, {int{kWholePage}, 5000u}}) {
        EXPECT_EQ(
            fetcher.FetchToFile(s_portal->HostPort(),
                                ShopPageQuery(shopId) + AccountSuffix("id", "pw"), m_localPath),
            expected)
            << shopId;
    }
    EXPECT_EQ(s_portal->Log().connections.size() - connectionsBefore, 1u);
}

// The portal doubles as the proxy; the page host cannot be resolved, so a page can
// only arrive through the proxy.
TEST_F(HttpFetcherTest, ProxyCarriesTheRequestAndItsCredentials) {
    portal::PortalSettings settings;
    settings.proxyAuth = portal::Credentials{"sailor", "s3cret:&"};
    std::unique_ptr<portal::PortalServer> proxy = StartPortal(settings);
    ASSERT_NE(proxy, nullptr);
    const std::string page = ShopPageQuery(kWholePage);

    struct Case {
        const char* name;
        portal::PortalServer* server;
        ConnectionSettings settings;
        std::uint32_t expected;
    };
    const int open = s_portal->Port();
    const int guarded = proxy->Port();
    const Case cases[] = {
        {"port in the server text",
         s_portal,
         {1, "127.0.0.1:" + std::to_string(open), 0, "", ""},
         5000},
        // Only the low 16 bits of the port count.
        {"credentials",
         proxy.get(),
         {1, "127.0.0.1", 0x10000 + guarded, "sailor", "s3cret:&"},
         5000},
        {"no credentials", proxy.get(), {1, "127.0.0.1", guarded, "", ""}, 0},
        {"wrong credentials", proxy.get(), {1, "127.0.0.1", guarded, "sailor", "guess"}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto started = StartHttpFetcher(c.settings, m_errors, m_cancel, kTestTimeout);
        ASSERT_NE(started.fetcher, nullptr) << started.error;
        HttpFetcher& fetcher = *started.fetcher;
        EXPECT_EQ(fetcher.FetchToFile("portal.invalid:8642", page, m_localPath), c.expected);
        const portal::RequestLog log = c.server->Log();
        EXPECT_EQ(log.lastTarget, "http://portal.invalid:8642/" + page);
        EXPECT_EQ(log.lastProxyAuthorization.has_value(), !c.settings.proxyUser.empty());
    }
    EXPECT_TRUE(m_errors.texts.empty());
}

TEST_F(HttpFetcherTest, DirectConnectionIgnoresTheEnvironmentsProxy) {
    ::setenv("http_proxy", "http://127.0.0.1:1", 1);
    const std::uint32_t size = FetchShop(kWholePage);
    ::unsetenv("http_proxy");
    EXPECT_EQ(size, 5000u);
    EXPECT_TRUE(m_errors.texts.empty());
}

}  // namespace
