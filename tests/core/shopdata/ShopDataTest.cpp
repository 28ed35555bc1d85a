#include <gtest/gtest.h>

#include <climits>

#include "shopdata/ShiftJisText.h"
#include "shopdata/TextConversion.h"
#include "support/ShiftJisLiteral.h"

namespace {

constexpr size_t npos = std::string_view::npos;

TEST(ShiftJisText, FindNeverMatchesOnASecondByte) {
    const struct {
        std::string text, needle;
        size_t from, found;
    } cases[] = {{S("ソ"), "\\", 0, npos},    // 83 5C: its second byte is "\"
                 {S("ポ|"), "|", 0, 2},       // 83 7C
                 {S("アA"), "A", 0, 2},       // 83 41
                 {"\x9F\x5C\\", "\\", 0, 2},  // 9F is a lead byte too
                 {S("表示") + "<" + S("ソ<"), "<", 5, 7},
                 {S("xアA"), "A", 2, 3},  // a start inside "ア" does not make its trail a character
                 {S("交易品交易品交易品分類：食料品"), S("分類："), 1, 18},
                 {S("あい"), "\xA0\x82", 0, npos},  // straddles two characters
                 {"abc", "c", 3, npos},
                 {"abc", "c", 99, npos},
                 {"abc", "", 3, 3}};
    for (const auto& c : cases)
        EXPECT_EQ(ShiftJisFind(c.text, c.needle, c.from), c.found) << ShiftJisToUtf8(c.text);
}

TEST(ShiftJisText, CompareTakesADoubleByteCharacterAsOneUnit) {
    const struct {
        std::string a, b;
        int sign;
    } cases[] = {{"\xB1", S("あ"), -1},  // half-width katakana before any double-byte character
                 {S("アイテム"), S("剣"), -1},
                 {"abc", "abd", -1},
                 {"ab", "abc", -1},
                 {S("同じ"), S("同じ"), 0},
                 {"b", "B", 1},  // no case folding
                 {"", "a", -1}};
    for (const auto& c : cases) {
        const int result = ShiftJisCompare(c.a, c.b);
        EXPECT_EQ((result > 0) - (result < 0), c.sign) << ShiftJisToUtf8(c.a);
    }
}

TEST(ShiftJisText, NumbersReadAsTheCLibraryReadsThem) {
    const struct {
        std::string text;
        int value;
    } cases[] = {{"", 0},
                 {"  35  ", 35},
                 {"\t\n-12x", -12},
                 {"+7", 7},
                 {"1,200", 1},
                 {"abc", 0},
                 {"- 5", 0},
                 {"0012", 12},
                 {S("　5"), 0},
                 {"99999999999", INT_MAX},
                 {"-99999999999", INT_MIN}};
    for (const auto& c : cases) EXPECT_EQ(AtoiReading(c.text), c.value) << c.text;
    EXPECT_EQ(FormatInt(INT_MIN), "-2147483648");
    EXPECT_EQ(TrimAsciiSpace(" \t\r\n\v\fname \n"), "name");
    EXPECT_EQ(TrimAsciiSpace(S("　名　")), S("　名　")) << "a full-width space is kept";
}

TEST(TextConversion, PagesBecomeCodePage932AndNeverFail) {
    const struct {
        std::string raw, sjis;
    } cases[] = {{"商会名：<b>", "\x8F\xA4\x89\xEF\x96\xBC\x81\x46<b>"},
                 {"①髙", "\x87\x40\xFB\xFC"},          // NEC and IBM extensions
                 {"≒№ⅰ", "\x81\xE0\x87\x82\xFA\x40"},  // of two codes, the one iconv writes
                 {"ﾂｰﾙ", "\xC2\xB0\xD9"},
                 {"〜−¥", "\x81\x60\x81\x7C\\"},  // JIS forms, written as their look-alikes
                 {"\xC2\x80\xEF\xA3\xB0", "??"},  // U+0080, U+F8F0: no CP932 code
                 {"a\xFF\x62", "a?b"},
                 {"a\xE5\x95\x62", "a?b"},          // cut sequence
                 {"a\xC0\xAF\x62", "a??b"},         // overlong form
                 {"a\xED\xA0\x80\x62", "a???b"},    // encoded surrogate
                 {"\xF0\x9F\x98\x80!", "?!"},       // outside the BMP
                 {"\xEA\xB0\x80", "?"},             // no CP932 code
                 {std::string("ab\0cd", 5), "ab"},  // the text ends at its first NUL
                 {std::string("\0<html>", 7), ""}};
    for (const auto& c : cases) {
        std::string out = "old";
        EXPECT_TRUE(Utf8ToShiftJis(c.raw, out));
        EXPECT_EQ(out, c.sjis) << c.raw;
    }
    std::string out = "old";
    EXPECT_FALSE(Utf8ToShiftJis("", out));
    EXPECT_EQ(out, "");
    EXPECT_EQ(ShiftJisToUtf8("a\x81"), "a\xEF\xBF\xBD");  // lone lead byte at the end
    EXPECT_EQ(ShiftJisToUtf8("\x80\xA0\xFD"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
}

}  // namespace
