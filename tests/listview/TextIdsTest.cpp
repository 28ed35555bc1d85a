#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "listview/TextIds.h"

namespace {

TEST(TextIds, NumbersDistinctTextsInOrderOfFirstSight) {
    // Enough texts to grow the table several times; lengths cross the 8-byte
    // steps of the hash, and some differ only in their last byte.
    std::vector<std::string> texts = {"", "a", "abcdefgh", "abcdefgi", "abcdefghi"};
    for (int i = 0; i < 5000; ++i) texts.push_back("\x83\x41" + std::to_string(i));
    TextIds ids;
    for (size_t i = 0; i < texts.size(); ++i) ASSERT_EQ(ids.IdOf(texts[i]), i);
    for (size_t i = 0; i < texts.size(); ++i) ASSERT_EQ(ids.IdOf(std::string(texts[i])), i);
    ASSERT_EQ(ids.Texts().size(), texts.size());
    for (size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(ids.Texts()[i], texts[i]);
}

}  // namespace
