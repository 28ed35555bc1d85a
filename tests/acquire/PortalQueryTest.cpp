#include <gtest/gtest.h>

#include "acquire/PortalQuery.h"
#include "shopdata/TextConversion.h"

namespace {

TEST(PortalQuery, BuildsBothPagesFromTheirIds) {
    EXPECT_EQ(CompanyListQuery(23) + AccountSuffix("captain", "secret"),
              "ovl/web/d?Act=company_search_sub_comlist&Tid=23&hvid=captain&pass=secret");
    EXPECT_EQ(ShopPageQuery(1234) + AccountSuffix("", ""),
              "ovl/web/d?Act=company_search_sub_display_dt&Cid=1234&hvid=&pass=");
}

TEST(PortalQuery, AccountValuesCannotBreakTheQuery) {
    struct Case {
        std::string value;
        const char* encoded;
    };
    const Case cases[] = {
        {"a&b=c", "a%26b%3Dc"},
        {"two words#1", "two%20words%231"},
        {"100%+?/", "100%25%2B%3F%2F"},
        {"Az09-._~", "Az09-._~"},
        {ToShiftJis("船長"), "%91D%92%B7"},
        {std::string("\0\x7F\xFF", 3), "%00%7F%FF"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AccountSuffix(c.value, c.value),
                  std::string("&hvid=") + c.encoded + "&pass=" + c.encoded)
            << c.encoded;
    }
}

}  // namespace
