#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "portal/PortalOptions.h"
#include "portal/RequestTarget.h"

namespace {

using portal::FaultKind;
using portal::PortalOptions;
using portal::PortalPage;

TEST(PortalOptions, GoodLines) {
    struct Case {
        std::vector<std::string> arguments;
        std::function<void(const PortalOptions&)> check;
    };
    const Case cases[] = {
        {{},
         [](const PortalOptions& o) {
             EXPECT_EQ(o.port, 8642);
             EXPECT_TRUE(o.dataDir.empty());
             EXPECT_FALSE(o.settings.account);
             EXPECT_FALSE(o.settings.proxyAuth);
             EXPECT_TRUE(o.settings.faults.empty());
         }},
        {{"--port", "0", "--data", "DownloadFiles"},
         [](const PortalOptions& o) {
             EXPECT_EQ(o.port, 0);
             EXPECT_EQ(o.dataDir, "DownloadFiles");
         }},
        {{"--seed", "18446744073709551615", "--shops", "120", "--products", "5"},
         [](const PortalOptions& o) {
             EXPECT_EQ(o.seed, 18446744073709551615ull);
             EXPECT_EQ(o.shopCount, 120);
             EXPECT_EQ(o.productsPerShop, 5);
         }},
        {{"--account", "captain:pa:ss", "--proxy-auth", "sailor:"},
         [](const PortalOptions& o) {
             ASSERT_TRUE(o.settings.account && o.settings.proxyAuth);
             EXPECT_EQ(o.settings.account->user, "captain");
             EXPECT_EQ(o.settings.account->password, "pa:ss");
             EXPECT_EQ(o.settings.proxyAuth->user, "sailor");
             EXPECT_EQ(o.settings.proxyAuth->password, "");
         }},
        {{"--latency", "250", "--help"},
         [](const PortalOptions& o) {
             EXPECT_EQ(o.settings.latencyMs, 250);
             EXPECT_TRUE(o.showHelp);
         }},
        {{"--fault", "status=503", "--fault", "stall=2:5,Tid=70,Cid=1234", "--fault", "cut:0"},
         [](const PortalOptions& o) {
             ASSERT_EQ(o.settings.faults.size(), 3u);
             const auto& status = o.settings.faults[0];
             EXPECT_EQ(status.kind, FaultKind::Status);
             EXPECT_EQ(status.value, 503);
             EXPECT_TRUE(status.targets.empty());
             const auto& stall = o.settings.faults[1];
             EXPECT_EQ(stall.kind, FaultKind::Stall);
             EXPECT_EQ(stall.value, 2);
             ASSERT_EQ(stall.targets.size(), 3u);
             EXPECT_EQ(stall.targets[0].page, PortalPage::None);
             EXPECT_EQ(stall.targets[0].id, 5);
             EXPECT_EQ(stall.targets[1].page, PortalPage::City);
             EXPECT_EQ(stall.targets[1].id, 70);
             EXPECT_EQ(stall.targets[2].page, PortalPage::Shop);
             EXPECT_EQ(stall.targets[2].id, 1234);
             EXPECT_EQ(o.settings.faults[2].kind, FaultKind::Cut);
             EXPECT_EQ(o.settings.faults[2].targets[0].id, 0);
         }},
        {{"--fault", "reset", "--fault", "slow=100", "--fault", "empty", "--fault", "huge=8",
          "--fault", "login"},
         [](const PortalOptions& o) {
             ASSERT_EQ(o.settings.faults.size(), 5u);
             EXPECT_EQ(o.settings.faults[0].kind, FaultKind::Reset);
             EXPECT_EQ(o.settings.faults[1].kind, FaultKind::Slow);
             EXPECT_EQ(o.settings.faults[1].value, 100);
             EXPECT_EQ(o.settings.faults[2].kind, FaultKind::Empty);
             EXPECT_EQ(o.settings.faults[3].kind, FaultKind::Huge);
             EXPECT_EQ(o.settings.faults[3].value, 8);
             EXPECT_EQ(o.settings.faults[4].kind, FaultKind::Login);
         }},
    };
    for (const Case& c : cases) {
        const portal::ParsedPortalOptions parsed = portal::ParsePortalOptions(c.arguments);
        ASSERT_TRUE(parsed.options) << parsed.error;
        c.check(*parsed.options);
    }
}

TEST(PortalOptions, BadLines) {
    const std::vector<std::vector<std::string>> cases = {
        {"--port"},
        {"--port", "65536"},
        {"--port", "-1"},
        {"--port", "80x"},
        {"--latency", "-5"},
        {"--seed", "abc"},
        {"--shops", "0"},
        {"--data", ""},
        {"--data", "pages", "--seed", "3"},
        {"--account", "no-colon"},
        {"--proxy-auth", "no-colon"},
        {"--bogus", "1"},
        {"stray"},
        {"--fault", "explode"},
        {"--fault", "status"},
        {"--fault", "status=99"},
        {"--fault", "status=abc"},
        {"--fault", "stall=0"},
        {"--fault", "slow="},
        {"--fault", "huge=2048"},
        {"--fault", "cut=3"},
        {"--fault", "cut:"},
        {"--fault", "cut:5,"},
        {"--fault", "cut:5,x"},
        {"--fault", "cut:Xid=5"},
    };
    for (const auto& arguments : cases) {
        const portal::ParsedPortalOptions parsed = portal::ParsePortalOptions(arguments);
        EXPECT_FALSE(parsed.options) << ::testing::PrintToString(arguments);
        EXPECT_FALSE(parsed.error.empty()) << ::testing::PrintToString(arguments);
    }
}

TEST(RequestTarget, ReadsBothQueriesInEitherForm) {
    struct Case {
        std::string target;
        bool absoluteForm;
        PortalPage page;
        std::optional<int> id;
        std::optional<std::string> hvid;
    };
    const Case cases[] = {
        {"/ovl/web/d?Act=company_search_sub_comlist&Tid=23&hvid=a%26b&pass=x", false,
         PortalPage::City, 23, "a%26b"},
        {"http://portal:8642/ovl/web/d?Act=company_search_sub_display_dt&Cid=1234&hvid=&pass=",
         true, PortalPage::Shop, 1234, ""},
        {"/ovl/web/d?Cid=7&Act=company_search_sub_display_dt&Cid=8", false, PortalPage::Shop, 7,
         std::nullopt},
        {"/ovl/web/d?Act=company_search_sub_comlist&Tid=", false, PortalPage::City, std::nullopt,
         std::nullopt},
        {"/ovl/web/d?Act=company_search_sub_comlist&Cid=5", false, PortalPage::City, std::nullopt,
         std::nullopt},
        {"/ovl/web/d?Act=other&Tid=5&hvid=me", false, PortalPage::None, std::nullopt, "me"},
        {"/ovl/web/dx?Act=company_search_sub_comlist&Tid=5", false, PortalPage::None, std::nullopt,
         std::nullopt},
        {"http://portal", true, PortalPage::None, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        const portal::RequestTarget target = portal::ParseRequestTarget(c.target);
        EXPECT_EQ(target.absoluteForm, c.absoluteForm) << c.target;
        EXPECT_EQ(target.page, c.page) << c.target;
        EXPECT_EQ(target.id, c.id) << c.target;
        EXPECT_EQ(target.hvid, c.hvid) << c.target;
    }
}

TEST(RequestTarget, DecodesValuesAsFormsEncodeThem) {
    const std::pair<std::string, std::string> cases[] = {
        {"plain", "plain"},       {"a+b", "a b"},
        {"%41%62%2b%2B", "Ab++"}, {"%E8%88%B9", "\xE8\x88\xB9"},
        {"100%", "100%"},         {"%4", "%4"},
        {"%zz", "%zz"},           {"%00x", std::string("\0x", 2)},
    };
    for (const auto& [raw, decoded] : cases) {
        EXPECT_EQ(portal::DecodeQueryValue(raw), decoded) << raw;
    }
}

}  // namespace
