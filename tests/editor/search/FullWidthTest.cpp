#include "editor/search/FullWidth.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;

namespace {
std::string Bytes(std::initializer_list<int> b) {
    std::string s;
    for (int c : b) s.push_back(static_cast<char>(c));
    return s;
}
std::string Range(int from, int to) {
    std::string s;
    for (int c = from; c <= to; ++c) s.push_back(static_cast<char>(c));
    return s;
}
}  // namespace

// The expected strings below are code page 932 bytes of the full-width characters named in the comments, as
// an independent converter encodes them.
TEST(FullWidth, AsciiBecomesItsFullWidthForms) {
    // "　！”＃＄％＆’（）＊＋，－．／０-９：；＜＝＞？＠Ａ-Ｚ［￥］＾＿｀ａ-ｚ｛｜｝￣"
    const std::string expected =
        "\x81\x40\x81\x49\x81\x68\x81\x94\x81\x90\x81\x93\x81\x95\x81\x66\x81\x69\x81\x6a\x81\x96\x81\x7b"
        "\x81\x43\x81\x7c\x81\x44\x81\x5e\x82\x4f\x82\x50\x82\x51\x82\x52\x82\x53\x82\x54\x82\x55\x82\x56"
        "\x82\x57\x82\x58\x81\x46\x81\x47\x81\x83\x81\x81\x81\x84\x81\x48\x81\x97\x82\x60\x82\x61\x82\x62"
        "\x82\x63\x82\x64\x82\x65\x82\x66\x82\x67\x82\x68\x82\x69\x82\x6a\x82\x6b\x82\x6c\x82\x6d\x82\x6e"
        "\x82\x6f\x82\x70\x82\x71\x82\x72\x82\x73\x82\x74\x82\x75\x82\x76\x82\x77\x82\x78\x82\x79\x81\x6d"
        "\x81\x8f\x81\x6e\x81\x4f\x81\x51\x81\x4d\x82\x81\x82\x82\x82\x83\x82\x84\x82\x85\x82\x86\x82\x87"
        "\x82\x88\x82\x89\x82\x8a\x82\x8b\x82\x8c\x82\x8d\x82\x8e\x82\x8f\x82\x90\x82\x91\x82\x92\x82\x93"
        "\x82\x94\x82\x95\x82\x96\x82\x97\x82\x98\x82\x99\x82\x9a\x81\x6f\x81\x62\x81\x70\x81\x50"s;
    EXPECT_EQ(ToFullWidth(Range(0x20, 0x7E)), expected);
}

TEST(FullWidth, HalfWidthKanaBecomesFullWidthKatakana) {
    // "。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨ
    //  ラリルレロワン゛゜" (0xA5 is the middle dot ・ 0x81 0x45, not the full stop ．)
    const std::string expected =
        "\x81\x42\x81\x75\x81\x76\x81\x41\x81\x45\x83\x92\x83\x40\x83\x42\x83\x44\x83\x46\x83\x48\x83\x83"
        "\x83\x85\x83\x87\x83\x62\x81\x5b\x83\x41\x83\x43\x83\x45\x83\x47\x83\x49\x83\x4a\x83\x4c\x83\x4e"
        "\x83\x50\x83\x52\x83\x54\x83\x56\x83\x58\x83\x5a\x83\x5c\x83\x5e\x83\x60\x83\x63\x83\x65\x83\x67"
        "\x83\x69\x83\x6a\x83\x6b\x83\x6c\x83\x6d\x83\x6e\x83\x71\x83\x74\x83\x77\x83\x7a\x83\x7d\x83\x7e"
        "\x83\x80\x83\x81\x83\x82\x83\x84\x83\x86\x83\x88\x83\x89\x83\x8a\x83\x8b\x83\x8c\x83\x8d\x83\x8f"
        "\x83\x93\x81\x4a\x81\x4b"s;
    // Each byte alone, so that no mark joins the kana before it.
    std::string each;
    for (int c = 0xA1; c <= 0xDF; ++c) each += ToFullWidth(std::string(1, static_cast<char>(c)));
    EXPECT_EQ(each, expected);
}

TEST(FullWidth, VoicedPairsBecomeOneCharacter) {
    std::string half;
    for (int c = 0xB6; c <= 0xC4; ++c) half += Bytes({c, 0xDE});  // ｶﾞ-ﾄﾞ
    for (int c = 0xCA; c <= 0xCE; ++c) half += Bytes({c, 0xDE});  // ﾊﾞ-ﾎﾞ
    for (int c = 0xCA; c <= 0xCE; ++c) half += Bytes({c, 0xDF});  // ﾊﾟ-ﾎﾟ
    half += "\xB3\xDE";                                           // ｳﾞ
    // "ガギグゲゴザジズゼゾダヂヅデドバビブベボパピプペポヴ"
    const std::string expected =
        "\x83\x4b\x83\x4d\x83\x4f\x83\x51\x83\x53\x83\x55\x83\x57\x83\x59\x83\x5b\x83\x5d\x83\x5f\x83\x61"
        "\x83\x64\x83\x66\x83\x68\x83\x6f\x83\x72\x83\x75\x83\x78\x83\x7b\x83\x70\x83\x73\x83\x76\x83\x79"
        "\x83\x7c\x83\x94"s;
    EXPECT_EQ(ToFullWidth(half), expected);
}

// Marks that do not voice the kana before them stay characters of their own. ｶﾟ is no pair: the +2 step
// from カ would give キ. ｳﾟ has no semi-voiced form either.
TEST(FullWidth, MarksThatDoNotVoiceStandAlone) {
    EXPECT_EQ(ToFullWidth("\xB6\xDF"), "\x83\x4A\x81\x4B"s);      // カ゜, not キ
    EXPECT_EQ(ToFullWidth("\xC4\xDF"), "\x83\x67\x81\x4B"s);      // ト゜
    EXPECT_EQ(ToFullWidth("\xB3\xDF"), "\x83\x45\x81\x4B"s);      // ウ゜
    EXPECT_EQ(ToFullWidth("\xB1\xDE"), "\x83\x41\x81\x4A"s);      // ア゛
    EXPECT_EQ(ToFullWidth("\xDE\xDE"), "\x81\x4A\x81\x4A"s);      // ゛゛
    EXPECT_EQ(ToFullWidth("\xB6\xDE\xDE"), "\x83\x4B\x81\x4A"s);  // ガ゛: one mark per kana
    EXPECT_FALSE(fullwidth::IsVoicedPair(0xB6, 0xDF));
    EXPECT_TRUE(fullwidth::IsVoicedPair(0xCA, 0xDF));
    EXPECT_FALSE(fullwidth::IsVoicedPair(0xCF, 0xDE));  // ﾏ
}

TEST(FullWidth, DoubleByteCharactersAndOtherBytesStay) {
    // A trail byte that looks like a kana (0x83 0xB6) or a mark must not be converted or joined.
    const std::string dbl = "\x88\x9F\x95\x5C\x83\xB6\xDE\x83\x4B"s;  // 亜 表 (0x83 0xB6) ﾞ ガ
    EXPECT_EQ(ToFullWidth(dbl), "\x88\x9F\x95\x5C\x83\xB6\x81\x4A\x83\x4B"s);
    const std::string other = "\r\n\t\x7F\x80\xA0\xFD\xFE\xFF"s;
    EXPECT_EQ(ToFullWidth(other), other);
    EXPECT_EQ(ToFullWidth("ab\x88"s), "\x82\x81\x82\x82\x88"s);  // a lead byte alone at the end stays
    EXPECT_EQ(ToFullWidth(""), "");
}

TEST(FullWidth, JisToShiftJisArithmetic) {
    EXPECT_EQ(fullwidth::JisToShiftJis(0x2121), 0x8140);  // odd row, cell below 0x60
    EXPECT_EQ(fullwidth::JisToShiftJis(0x2160), 0x8180);  // odd row, cell from 0x60 on skips 0x7F
    EXPECT_EQ(fullwidth::JisToShiftJis(0x2574), 0x8394);  // ヴ
    EXPECT_EQ(fullwidth::JisToShiftJis(0x3021), 0x889F);  // even row
    EXPECT_EQ(fullwidth::JisToShiftJis(0x5F21), 0xE040);  // rows from 0x5F on use leads 0xE0 and up
    EXPECT_EQ(fullwidth::JisToShiftJis(0x6021), 0xE09F);
    EXPECT_EQ(fullwidth::JisToShiftJis(0x7426), 0xEAA4);
}
