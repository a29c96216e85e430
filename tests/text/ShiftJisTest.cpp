#include "text/ShiftJis.h"

#include <gtest/gtest.h>

using namespace std::string_literals;

TEST(ShiftJis, LeadByteRanges) {
    int leads = 0;
    for (int c = 0; c < 256; ++c) leads += sjis::IsLeadByte(static_cast<unsigned char>(c));
    EXPECT_EQ(leads, (0x9F - 0x81 + 1) + (0xFC - 0xE0 + 1));
    EXPECT_FALSE(sjis::IsLeadByte('\x80'));
    EXPECT_TRUE(sjis::IsLeadByte('\x81'));
    EXPECT_TRUE(sjis::IsLeadByte('\x9F'));
    EXPECT_FALSE(sjis::IsLeadByte('\xA0'));
    EXPECT_FALSE(sjis::IsLeadByte('\xDF'));  // half-width katakana is single-byte
    EXPECT_TRUE(sjis::IsLeadByte('\xE0'));
    EXPECT_TRUE(sjis::IsLeadByte('\xFC'));
    EXPECT_FALSE(sjis::IsLeadByte('\xFD'));
}

// "表" is 0x95 0x5C: its trail byte is the ASCII backslash. "ソ" is 0x83 0x5C. "院" is 0x89 0x40.
// Trail bytes in the lead range (e.g. 0x88 0x9F "亜") make naive backwards stepping go wrong.
TEST(ShiftJis, SteppingNeverSplitsACharacter) {
    const std::string text =
        "a\x95\x5C\x88\x9F\x88\x9F"
        "b\xB1"s;  // a 表 亜 亜 b ｱ
    std::vector<std::size_t> forward;
    for (std::size_t i = 0; i < text.size(); i = sjis::NextCharPos(text, i)) forward.push_back(i);
    EXPECT_EQ(forward, (std::vector<std::size_t>{0, 1, 3, 5, 7, 8}));
    EXPECT_EQ(sjis::CharCount(text), 6u);

    std::vector<std::size_t> backward;
    for (std::size_t i = text.size(); i > 0;) backward.push_back(i = sjis::PrevCharPos(text, i));
    EXPECT_EQ(backward, (std::vector<std::size_t>{8, 7, 5, 3, 1, 0}));

    for (std::size_t i = 0; i <= text.size(); ++i) {
        bool boundary = i == text.size() || std::find(forward.begin(), forward.end(), i) != forward.end();
        EXPECT_EQ(sjis::IsCharBoundary(text, i), boundary) << i;
        EXPECT_EQ(sjis::CharStart(text, i), boundary ? i : i - 1) << i;
    }
}

TEST(ShiftJis, LeadByteAtTheEndStandsAlone) {
    const std::string text = "\x88\x9F\x88"s;
    EXPECT_EQ(sjis::CharLength(text, 2), 1u);
    EXPECT_EQ(sjis::NextCharPos(text, 2), 3u);
    EXPECT_TRUE(sjis::IsCharBoundary(text, 3));
    EXPECT_EQ(sjis::PrevCharPos(text, 3), 2u);
    EXPECT_EQ(sjis::CharCount(text), 2u);
    EXPECT_EQ(sjis::CharLength(text, 3), 0u);
    EXPECT_EQ(sjis::PrevCharPos(text, 99), 2u);  // out of range clamps to the end
}
