#include <gtest/gtest.h>
#include <httplib.h>

#include <memory>
#include <string>

#include "acquire/PortalQuery.h"
#include "pagegen/PageGenerator.h"
#include "portal/PortalPages.h"
#include "portal/PortalServer.h"
#include "shopdata/FixedTables.h"

namespace {

using portal::FaultKind;
using portal::FaultRule;
using portal::PortalPage;
using portal::PortalSettings;

constexpr char kCompanyLink[] = "javascript:Click_Sub( ";

const GeneratedPortal& Generated() {
    static const GeneratedPortal generated = GeneratePortal(7, 13, 3);
    return generated;
}

std::string Path(const std::string& query, const std::string& account = "&hvid=id&pass=pw") {
    return "/" + query + account;
}

std::unique_ptr<portal::PortalServer> StartOn(std::shared_ptr<const portal::PageSource> pages,
                                              PortalSettings settings = {}) {
    auto server = std::make_unique<portal::PortalServer>(std::move(pages), std::move(settings));
    if (!server->Start(0)) return nullptr;
    return server;
}

std::unique_ptr<portal::PortalServer> StartGenerated(PortalSettings settings = {}) {
    return StartOn(portal::MakeGeneratedPageSource(7, 13, 3), std::move(settings));
}

// A 1000-byte shop page 1 and a city page 1, for faults whose effect depends on the size.
std::unique_ptr<portal::PortalServer> StartSmall(PortalSettings settings) {
    std::string shop(1000, 'x');
    for (size_t i = 0; i < shop.size(); ++i) shop[i] = static_cast<char>('a' + i % 26);
    return StartOn(
        std::make_shared<portal::MemoryPageSource>(std::map<int, std::string>{{1, "city one"}},
                                                   std::map<int, std::string>{{1, shop}}),
        std::move(settings));
}

PortalSettings WithFault(FaultKind kind, int value = 0, std::vector<portal::FaultTarget> ids = {}) {
    PortalSettings settings;
    settings.faults.push_back(FaultRule{kind, value, std::move(ids)});
    return settings;
}

TEST(PortalServer, BothQueriesAnswerTheGeneratedBytes) {
    auto server = StartGenerated();
    ASSERT_NE(server, nullptr);
    httplib::Client client("127.0.0.1", server->Port());
    for (size_t i = 0; i < CityTable().size(); ++i) {
        const auto result = client.Get(Path(CompanyListQuery(CityTable()[i].id)));
        ASSERT_TRUE(result) << "city " << i;
        EXPECT_EQ(result->status, 200);
        EXPECT_EQ(result->get_header_value("Content-Type"), "text/html; charset=UTF-8");
        EXPECT_TRUE(result->body == Generated().cityPagesUtf8[i]) << "city " << i;
    }
    for (const GeneratedShop& shop : Generated().shops) {
        const auto result = client.Get(Path(ShopPageQuery(shop.companyId)));
        ASSERT_TRUE(result) << "shop " << shop.companyId;
        EXPECT_EQ(result->status, 200);
        EXPECT_TRUE(result->body == shop.pageUtf8) << "shop " << shop.companyId;
    }
}

TEST(PortalServer, AnythingButTheTwoQueriesIsNotFound) {
    auto server = StartGenerated();
    ASSERT_NE(server, nullptr);
    httplib::Client client("127.0.0.1", server->Port());
    const std::string targets[] = {
        Path(CompanyListQuery(4242)),
        Path(ShopPageQuery(999999)),
        Path("ovl/web/d?Act=company_search_sub_other&Tid=1"),
        Path("ovl/web/d?Act=company_search_sub_comlist"),
        Path("ovl/web/d?Act=company_search_sub_comlist&Tid=1x"),
        Path("ovl/web/d?Act=company_search_sub_comlist&Cid=1"),
        "/ovl/web/d",
        "/index.html",
    };
    for (const std::string& target : targets) {
        const auto result = client.Get(target);
        ASSERT_TRUE(result) << target;
        EXPECT_EQ(result->status, 404) << target;
    }
}

TEST(PortalServer, AbsoluteFormTargetsAreServedAsAProxyWould) {
    auto server = StartGenerated();
    ASSERT_NE(server, nullptr);
    httplib::Client client("portal.invalid", 8642);
    client.set_proxy("127.0.0.1", server->Port());
    const GeneratedShop& shop = Generated().shops.front();
    const auto result = client.Get(Path(ShopPageQuery(shop.companyId)));
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 200);
    EXPECT_TRUE(result->body == shop.pageUtf8);
    EXPECT_EQ(server->Log().lastTarget,
              "http://portal.invalid:8642" + Path(ShopPageQuery(shop.companyId)));
}

TEST(PortalServer, OnlyTheGivenAccountGetsThePages) {
    PortalSettings settings;
    settings.account = portal::Credentials{"a b&c", "p+w%"};
    auto server = StartGenerated(settings);
    ASSERT_NE(server, nullptr);
    httplib::Client client("127.0.0.1", server->Port());
    client.set_url_encode(false);  // the queries below are encoded already
    const std::string& cityPage = Generated().cityPagesUtf8[0];
    const std::string cityQuery = CompanyListQuery(CityTable()[0].id);
    struct Case {
        const char* account;
        bool accepted;
    };
    const Case cases[] = {
        {"&hvid=a%20b%26c&pass=p%2Bw%25", true},
        {"&hvid=a+b%26c&pass=p%2bw%25", true},  // "+" is a space, hex digits in any case
        {"&hvid=a%20b%26c&pass=p%2Bw", false},
        {"&hvid=A%20b%26c&pass=p%2Bw%25", false},
        {"&hvid=a%20b%26c&pass=p+w%25", false},
        {"&pass=p%2Bw%25", false},
        {"", false},
    };
    for (const Case& c : cases) {
        const auto result = client.Get(Path(cityQuery, c.account));
        ASSERT_TRUE(result) << c.account;
        EXPECT_EQ(result->status, 200) << c.account;
        if (c.accepted) {
            EXPECT_TRUE(result->body == cityPage) << c.account;
        } else {
            EXPECT_TRUE(result->body == portal::LoginPage()) << c.account;
            EXPECT_EQ(result->body.find(kCompanyLink), std::string::npos);
        }
    }
}

TEST(PortalServer, ProxyCredentialsAreDemandedOfProxyRequestsOnly) {
    PortalSettings settings;
    settings.proxyAuth = portal::Credentials{"sailor", "s3:cret"};
    auto server = StartGenerated(settings);
    ASSERT_NE(server, nullptr);
    const std::string path = Path(CompanyListQuery(CityTable()[0].id));

    httplib::Client direct("127.0.0.1", server->Port());
    const auto directResult = direct.Get(path);
    ASSERT_TRUE(directResult);
    EXPECT_EQ(directResult->status, 200);

    struct Case {
        const char* user;
        const char* password;
        int status;
    };
    const Case cases[] = {{"", "", 407}, {"sailor", "guess", 407}, {"sailor", "s3:cret", 200}};
    for (const Case& c : cases) {
        httplib::Client proxied("portal.invalid", 80);
        proxied.set_proxy("127.0.0.1", server->Port());
        proxied.set_proxy_basic_auth(c.user, c.password);
        const auto result = proxied.Get(path);
        ASSERT_TRUE(result) << c.password;
        EXPECT_EQ(result->status, c.status) << c.password;
        if (c.status == 407) {
            EXPECT_EQ(result->get_header_value("Proxy-Authenticate"), "Basic realm=\"veradune\"");
        } else {
            EXPECT_TRUE(result->body == Generated().cityPagesUtf8[0]);
        }
        EXPECT_EQ(server->Log().lastProxyAuthorization.has_value(), *c.user != '\0');
    }
}

TEST(PortalServer, StatusEmptyAndLoginFaultsAnswerAtOnce) {
    struct Case {
        FaultKind kind;
        int value;
        int status;
        bool emptyBody;
    };
    const Case cases[] = {
        {FaultKind::Status, 503, 503, false},
        {FaultKind::Status, 304, 304, true},
        {FaultKind::Empty, 0, 200, true},
        {FaultKind::Login, 0, 200, false},
    };
    for (const Case& c : cases) {
        auto server = StartSmall(WithFault(c.kind, c.value));
        ASSERT_NE(server, nullptr);
        httplib::Client client("127.0.0.1", server->Port());
        const auto result = client.Get(Path(ShopPageQuery(1)));
        ASSERT_TRUE(result) << c.value;
        EXPECT_EQ(result->status, c.status);
        EXPECT_EQ(result->body.empty(), c.emptyBody) << result->body;
        if (c.kind == FaultKind::Login) {
            EXPECT_EQ(result->body, portal::LoginPage());
        }
    }
}

TEST(PortalServer, StallSendsNothingForItsSeconds) {
    auto server = StartSmall(WithFault(FaultKind::Stall, 2));
    ASSERT_NE(server, nullptr);
    httplib::Client client("127.0.0.1", server->Port());
    client.set_read_timeout(1, 0);
    const auto result = client.Get(Path(ShopPageQuery(1)));
    EXPECT_FALSE(result);
    EXPECT_EQ(result.error(), httplib::Error::Read);
    EXPECT_EQ(server->Log().shopRequests[1], 1);
}

TEST(PortalServer, CutSendsTheFullLengthButHalfTheBody) {
    auto server = StartSmall(WithFault(FaultKind::Cut));
    ASSERT_NE(server, nullptr);
    httplib::Client client("127.0.0.1", server->Port());
    std::string contentLength;
    std::string received;
    const auto result = client.Get(
        Path(ShopPageQuery(1)),
        [&](const httplib::Response& response) {
            contentLength = response.get_header_value("Content-Length");
            return true;
        },
        [&](const char* data, size_t length) {
            received.append(data, length);
            return true;
        });
    EXPECT_FALSE(result);
    EXPECT_EQ(contentLength, "1000");
    ASSERT_EQ(received.size(), 500u);
    EXPECT_EQ(received.substr(0, 3), "abc");
}

TEST(PortalServer, ResetDropsTheConnectionWithoutAnAnswer) {
    auto server = StartSmall(WithFault(FaultKind::Reset));
    ASSERT_NE(server, nullptr);
    httplib::Client client("127.0.0.1", server->Port());
    bool headersArrived = false;
    size_t bodyBytes = 0;
    const auto result = client.Get(
        Path(ShopPageQuery(1)),
        [&](const httplib::Response&) {
            headersArrived = true;
            return true;
        },
        [&](const char*, size_t length) {
            bodyBytes += length;
            return true;
        });
    EXPECT_FALSE(result);
    EXPECT_EQ(result.error(), httplib::Error::Read);
    EXPECT_FALSE(headersArrived);
    EXPECT_EQ(bodyBytes, 0u);
    EXPECT_EQ(server->Log().total, 1);
    // The server itself carries on.
    httplib::Client next("127.0.0.1", server->Port());
    const auto notFound = next.Get("/index.html");
    ASSERT_TRUE(notFound);
    EXPECT_EQ(notFound->status, 404);
}

TEST(PortalServer, SlowBodyTricklesInPiecesAndArrivesWhole) {
    // 4000 bytes per second: pieces of 400 bytes a tenth of a second apart.
    auto server = StartSmall(WithFault(FaultKind::Slow, 4000));
    ASSERT_NE(server, nullptr);
    httplib::Client client("127.0.0.1", server->Port());
    std::string received;
    int pieces = 0;
    const auto result = client.Get(Path(ShopPageQuery(1)), [&](const char* data, size_t length) {
        received.append(data, length);
        ++pieces;
        return true;
    });
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 200);
    EXPECT_EQ(received.size(), 1000u);
    EXPECT_EQ(received.substr(0, 3), "abc");
    EXPECT_GE(pieces, 3);
}

TEST(PortalServer, HugeBodyIsThePageThenBlankFiller) {
    auto server = StartSmall(WithFault(FaultKind::Huge, 2));
    ASSERT_NE(server, nullptr);
    httplib::Client client("127.0.0.1", server->Port());
    const auto result = client.Get(Path(CompanyListQuery(1)));
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 200);
    ASSERT_EQ(result->body.size(), 2u * 1024 * 1024);
    EXPECT_TRUE(result->body.starts_with("city one"));
    EXPECT_EQ(result->body.find_first_not_of(" \n", 8), std::string::npos);
}

TEST(PortalServer, FaultsHitTheirIdsOnlyAndTheFirstMatchWins) {
    PortalSettings settings;
    settings.faults.push_back(FaultRule{FaultKind::Status, 500, {{PortalPage::Shop, 1}}});
    settings.faults.push_back(FaultRule{FaultKind::Status, 502, {{PortalPage::None, 1}}});
    settings.faults.push_back(FaultRule{FaultKind::Status, 503, {{PortalPage::None, 77}}});
    auto server = StartSmall(settings);
    ASSERT_NE(server, nullptr);
    httplib::Client client("127.0.0.1", server->Port());
    struct Case {
        std::string query;
        int status;
    };
    const Case cases[] = {
        {ShopPageQuery(1), 500},
        {CompanyListQuery(1), 502},
        {ShopPageQuery(77), 503},  // a fault needs no page behind it
        {ShopPageQuery(2), 404},
    };
    for (const Case& c : cases) {
        const auto result = client.Get(Path(c.query));
        ASSERT_TRUE(result) << c.query;
        EXPECT_EQ(result->status, c.status) << c.query;
    }
}

TEST(PortalServer, LogCountsWhatArrived) {
    auto server = StartGenerated();
    ASSERT_NE(server, nullptr);
    httplib::Client client("127.0.0.1", server->Port());
    client.set_url_encode(false);
    client.set_default_headers({{"User-Agent", "Veradune"}});
    const int cityId = CityTable()[2].id;
    const int companyId = Generated().shops.front().companyId;
    ASSERT_TRUE(client.Get(Path(CompanyListQuery(cityId))));
    ASSERT_TRUE(client.Get(Path(CompanyListQuery(cityId))));
    ASSERT_TRUE(client.Get(Path(ShopPageQuery(companyId), "&hvid=%E8%88%B9&pass=a+b")));

    const portal::RequestLog log = server->Log();
    EXPECT_EQ(log.total, 3);
    EXPECT_EQ(log.byTarget.at(Path(CompanyListQuery(cityId))), 2);
    EXPECT_EQ(log.cityRequests, (std::map<int, int>{{cityId, 2}}));
    EXPECT_EQ(log.shopRequests, (std::map<int, int>{{companyId, 1}}));
    EXPECT_EQ(log.lastHvidRaw, "%E8%88%B9");
    EXPECT_EQ(log.lastHvid, "\xE8\x88\xB9");
    EXPECT_EQ(log.lastPassRaw, "a+b");
    EXPECT_EQ(log.lastPass, "a b");
    EXPECT_FALSE(log.lastProxyAuthorization);
    EXPECT_EQ(log.lastUserAgent, "Veradune");
}

TEST(PortalServer, PortInUseIsRefused) {
    auto first = StartGenerated();
    ASSERT_NE(first, nullptr);
    portal::PortalServer second(portal::MakeGeneratedPageSource(7, 13, 3), {});
    EXPECT_FALSE(second.Start(first->Port()));
}

}  // namespace
