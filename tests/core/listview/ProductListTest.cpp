#include <gtest/gtest.h>

#include "config/ConfigStore.h"
#include "listview/ProductList.h"
#include "support/ProductBuilders.h"

namespace {

class ProductListTest : public ::testing::Test {
protected:
    // The tags of the shown rows, in shown order.
    std::vector<std::string> Shown() const {
        std::vector<std::string> tags;
        for (size_t row = 0; row < list.RowCount(); ++row)
            tags.push_back(ShiftJisToUtf8(list.RowRecord(row).companyName));
        return tags;
    }

    ConfigStore settings;
    ProductList list{settings};
};

TEST_F(ProductListTest, ShowsNothingBeforeTheFirstFilterRun) {
    list.SetProducts({Offer("a", "ワイン", 300), Offer("b", "胡椒", 200)});
    EXPECT_EQ(list.RowCount(), 0u);
    const FilterRun run = list.Filter({});
    EXPECT_EQ(run.hits, 2);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"a", "b"}));
}

}  // namespace
