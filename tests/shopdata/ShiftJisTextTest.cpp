#include <gtest/gtest.h>

#include <climits>

#include "shopdata/ShiftJisText.h"
#include "support/ShiftJisLiteral.h"

namespace {

TEST(ShiftJisFind, NeverMatchesOnTheSecondByteOfACharacter) {
    // "ソ" is 83 5C and "ポ" is 83 7C: their second bytes equal "\" and "|".
    EXPECT_EQ(ShiftJisFind(S("ソ"), "\\", 0), std::string_view::npos);
    EXPECT_EQ(ShiftJisFind(S("ポ|"), "|", 0), 2u);
    // "ア" is 83 41, whose second byte is "A".
    EXPECT_EQ(ShiftJisFind(S("アA"), "A", 0), 2u);
    const std::string text = S("表示") + "<" + S("ソ<");
    EXPECT_EQ(ShiftJisFind(text, "<", 0), 4u);
    EXPECT_EQ(ShiftJisFind(text, "<", 5), 7u);
}

TEST(ShiftJisFind, BoundariesAreThoseOfTheWholeTextNotOfTheStartPosition) {
    // Starting inside "ア" (at its second byte) must not make "A" a character.
    const std::string text = S("xアA");
    EXPECT_EQ(ShiftJisFind(text, "A", 2), 3u);
    // A double-byte needle found right after a long run of double-byte text.
    const std::string long_run = S("交易品交易品交易品分類：食料品");
    EXPECT_EQ(ShiftJisFind(long_run, S("分類："), 1), 18u);
    // The same bytes straddling two characters are no match: 82 A0 82 A2 holds A0 82.
    EXPECT_EQ(ShiftJisFind(S("あい"), "\xA0\x82", 0), std::string_view::npos);
}

TEST(ShiftJisFind, StartPastTheEndFindsNothing) {
    EXPECT_EQ(ShiftJisFind("abc", "c", 3), std::string_view::npos);
    EXPECT_EQ(ShiftJisFind("abc", "c", 99), std::string_view::npos);
    EXPECT_EQ(ShiftJisFind("abc", "", 3), 3u);
}

TEST(ShiftJisCompare, DoubleByteCharactersAreOneUnit) {
    // Half-width katakana (one byte, B1) sorts before any double-byte character,
    // though a plain byte comparison would put it after 82.
    EXPECT_LT(ShiftJisCompare("\xB1", S("あ")), 0);
    EXPECT_LT(ShiftJisCompare(S("アイテム"), S("剣")), 0);  // katakana before kanji
    EXPECT_LT(ShiftJisCompare("abc", "abd"), 0);
    EXPECT_LT(ShiftJisCompare("ab", "abc"), 0);
    EXPECT_EQ(ShiftJisCompare(S("同じ"), S("同じ")), 0);
    EXPECT_GT(ShiftJisCompare("b", "B"), 0);  // no case folding
    EXPECT_LT(ShiftJisCompare("", "a"), 0);
}

TEST(AtoiReading, FollowsTheCLibrary) {
    const struct {
        const char* text;
        int value;
    } cases[] = {
        {"", 0},
        {"35", 35},
        {"  35  ", 35},
        {"\t\n-12x", -12},
        {"+7", 7},
        {"1,200", 1},
        {"abc", 0},
        {"- 5", 0},
        {"0012", 12},
        {"99999999999", INT_MAX},
        {"-99999999999", INT_MIN},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
    };
    for (const auto& c : cases) EXPECT_EQ(AtoiReading(c.text), c.value) << '"' << c.text << '"';
    EXPECT_EQ(AtoiReading(S("　5")), 0) << "a full-width space is not white space";
}

TEST(TrimAsciiSpace, KeepsFullWidthSpaces) {
    EXPECT_EQ(TrimAsciiSpace(" \t\r\n\v\fname \n"), "name");
    EXPECT_EQ(TrimAsciiSpace("   "), "");
    EXPECT_EQ(TrimAsciiSpace(S("　名　")), S("　名　"));
}

TEST(FormatInt, PrintsLikePercentD) {
    EXPECT_EQ(FormatInt(0), "0");
    EXPECT_EQ(FormatInt(-1), "-1");
    EXPECT_EQ(FormatInt(INT_MIN), "-2147483648");
}

}  // namespace
