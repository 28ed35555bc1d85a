#include <gtest/gtest.h>
#include <httplib.h>

#include "acquire/PortalQuery.h"
#include "pagegen/PageGenerator.h"
#include "portal/PortalOptions.h"
#include "portal/PortalPages.h"
#include "portal/PortalServer.h"
#include "shopdata/FixedTables.h"

namespace {

using namespace portal;

TEST(PortalOptions, ReadsTheCommandLineAndRefusesBadUsage) {
    const auto parsed =
        ParsePortalOptions({"--port", "0", "--seed", "18446744073709551615", "--shops", "120",
                            "--account", "captain:pa:ss", "--fault", "status=503", "--fault",
                            "stall=2:5,Tid=70,Cid=1234", "--day", "3"});
    ASSERT_TRUE(parsed.options) << parsed.error;
    const PortalOptions& o = *parsed.options;
    EXPECT_EQ(o.seed, 18446744073709551615ull);
    EXPECT_EQ(o.shopCount, 120);
    EXPECT_EQ(o.day, 3);
    EXPECT_EQ(o.settings.account->password, "pa:ss");
    ASSERT_EQ(o.settings.faults.size(), 2u);
    EXPECT_TRUE(o.settings.faults[0].value == 503 && o.settings.faults[0].targets.empty());
    const auto& stall = o.settings.faults[1];
    ASSERT_EQ(stall.targets.size(), 3u);
    EXPECT_EQ(stall.targets[1].page, PortalPage::City);
    EXPECT_EQ(stall.targets[2].id, 1234);
    for (std::string line :
         {"--port", "--port 65536", "--port 80x", "--shops 0", "--data  --port 1",
          "--data pages --seed 3", "--data pages --day 1", "--day 3651", "--account no-colon",
          "stray", "--fault explode", "--fault status=199", "--fault huge=2048", "--fault cut:5,",
          "--fault cut:Xid=5"}) {
        std::vector<std::string> arguments;
        for (size_t end; (end = line.find(' ')) != std::string::npos; line.erase(0, end + 1))
            arguments.push_back(line.substr(0, end));
        arguments.push_back(line);
        const ParsedPortalOptions refused = ParsePortalOptions(arguments);
        EXPECT_FALSE(refused.options || refused.error.empty()) << testing::PrintToString(arguments);
    }
}

TEST(PortalServer, AnswersPagesFaultsAndAccountsAsConfigured) {
    const GeneratedPortal generated = GeneratePortal(7, 13, 3, 2);  // a later day
    const int shop = generated.shops.front().companyId;
    const int faulty = generated.shops.back().companyId;
    PortalSettings settings;
    settings.account = Credentials{"a b&c", "p+w%"};
    settings.proxyAuth = Credentials{"sailor", "s3:cret"};
    settings.faults = {{FaultKind::Status, 500, {{PortalPage::Shop, faulty}}},
                       {FaultKind::Status, 502, {{PortalPage::None, faulty}}},
                       {FaultKind::Empty, 0, {{PortalPage::None, 77}}},
                       {FaultKind::Login, 0, {{PortalPage::City, CityTable()[1].id}}}};
    PortalServer server(MakeGeneratedPageSource(7, 13, 3, 2), settings);
    ASSERT_TRUE(server.Start(0));
    const std::string account = "&hvid=a%20b%26c&pass=p%2Bw%25";
    const std::string& cityPage = generated.cityPagesUtf8[0];
    const std::string& shopPage = generated.shops.front().pageUtf8;
    const std::string empty;
    enum Via { Direct, Proxy, ProxyWithoutAuth };
    const struct {
        std::string target;
        Via via;
        int status;
        const std::string* body;  // null: any
    } cases[] = {
        {CompanyListQuery(CityTable()[0].id) + account, Direct, 200, &cityPage},
        {ShopPageQuery(shop) + account, Direct, 200, &shopPage},
        {ShopPageQuery(shop) + account, Proxy, 200, &shopPage},
        {ShopPageQuery(shop) + account, ProxyWithoutAuth, 407, nullptr},
        {ShopPageQuery(shop) + "&hvid=a+b%26c&pass=p%2bw%25", Direct, 200, &shopPage},
        {ShopPageQuery(shop) + "&hvid=a%20b%26c&pass=p+w%25", Direct, 200, &LoginPage()},
        {ShopPageQuery(shop) + "&hvid=A%20b%26c&pass=p%2Bw%25", Direct, 200, &LoginPage()},
        {ShopPageQuery(shop), Direct, 200, &LoginPage()},
        {CompanyListQuery(CityTable()[1].id) + account, Direct, 200, &LoginPage()},
        {ShopPageQuery(faulty) + account, Direct, 500, nullptr},  // the first rule that matches
        {CompanyListQuery(faulty) + account, Direct, 502, nullptr},
        {ShopPageQuery(77) + account, Direct, 200, &empty},  // a fault needs no page behind it
        {ShopPageQuery(999999) + account, Direct, 404, nullptr},
        {"ovl/web/d?Act=company_search_sub_comlist&Tid=1x" + account, Direct, 404, nullptr},
        {"ovl/web/d?Act=company_search_sub_other&Tid=1" + account, Direct, 404, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target + " via " + std::to_string(c.via));
        httplib::Client client(c.via == Direct ? "127.0.0.1" : "portal.invalid",
                               c.via == Direct ? server.Port() : 8642);
        client.set_url_encode(false);
        if (c.via != Direct) client.set_proxy("127.0.0.1", server.Port());
        if (c.via == Proxy) client.set_proxy_basic_auth("sailor", "s3:cret");
        const auto result = client.Get("/" + c.target);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->status, c.status);
        if (c.body) {
            EXPECT_TRUE(result->body == *c.body);
        }
        if (c.via == Proxy) {
            EXPECT_EQ(server.Log().lastTarget, "http://portal.invalid:8642/" + c.target);
        }
    }
}

}  // namespace
