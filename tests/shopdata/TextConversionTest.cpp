#include "shopdata/TextConversion.h"

#include <gtest/gtest.h>

namespace {

TEST(Utf8ToShiftJis, ConvertsToCodePage932) {
    std::string out;
    ASSERT_TRUE(Utf8ToShiftJis("商会名：<b>", out));
    EXPECT_EQ(out, "\x8F\xA4\x89\xEF\x96\xBC\x81\x46<b>");
    // NEC and IBM extensions that plain Shift-JIS lacks.
    ASSERT_TRUE(Utf8ToShiftJis("①髙", out));
    EXPECT_EQ(out, "\x87\x40\xFB\xFC");
    ASSERT_TRUE(Utf8ToShiftJis("ﾂｰﾙ", out));
    EXPECT_EQ(out, "\xC2\xB0\xD9");
}

TEST(Utf8ToShiftJis, SubstitutesAndCarriesOn) {
    const struct {
        std::string raw;
        std::string expected;
    } cases[] = {
        {"a\xFF" "b", "a?b"},                  // invalid byte
        {"a\xE5\x95" "b", "a?b"},              // cut sequence
        {"a\xC0\xAF" "b", "a??b"},             // overlong form
        {"a\xED\xA0\x80" "b", "a???b"},        // encoded surrogate
        {"\xF0\x9F\x98\x80!", "?!"},           // outside the BMP
        {"\xEA\xB0\x80", "?"},                 // Hangul: no CP932 code
        {"\xEF\xBB\xBFx", "?x"},               // byte-order mark
    };
    for (const auto& c : cases) {
        std::string out;
        EXPECT_TRUE(Utf8ToShiftJis(c.raw, out));
        EXPECT_EQ(out, c.expected);
    }
}

TEST(Utf8ToShiftJis, EndsAtTheFirstNulAndFailsOnlyOnEmptyInput) {
    std::string out = "old";
    EXPECT_FALSE(Utf8ToShiftJis("", out));
    EXPECT_EQ(out, "");
    EXPECT_TRUE(Utf8ToShiftJis(std::string_view("ab\0cd", 5), out));
    EXPECT_EQ(out, "ab");
    EXPECT_TRUE(Utf8ToShiftJis(std::string_view("\0<html>", 7), out));
    EXPECT_EQ(out, "");
}

TEST(ShiftJisToUtf8, RoundTripsAndMarksBadBytes) {
    for (const char* text : {"セビリア", "①髙﨑", "ﾂｰﾙ ﾊﾞｰ(&T)", "♂♀ 交易品（全て）"})
        EXPECT_EQ(ShiftJisToUtf8(ToShiftJis(text)), text);
    EXPECT_EQ(ShiftJisToUtf8("a\x81"), "a\xEF\xBF\xBD");  // lone lead byte at the end
    EXPECT_EQ(ShiftJisToUtf8("\xA0"), "\xEF\xBF\xBD");
}

}  // namespace
