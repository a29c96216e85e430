#include "text/SjisCodec.h"

#include <gtest/gtest.h>

#include "text/ShiftJis.h"

namespace {
std::string bytes(std::initializer_list<int> b) {
    std::string s;
    for (int c : b) s.push_back(static_cast<char>(c));
    return s;
}
}  // namespace

// The places where CP932 differs from JIS-based Shift-JIS tables.
TEST(SjisCodec, Cp932SpecificMappings) {
    struct Case {
        std::string code;
        char16_t unicode;
    } cases[] = {
        {bytes({0x81, 0x60}), 0xFF5E},  // full-width tilde, not WAVE DASH
        {bytes({0x81, 0x5F}), 0xFF3C},  // full-width reverse solidus
        {bytes({0x5C}), 0x005C},        // backslash, not YEN SIGN
        {bytes({0x7E}), 0x007E},        // tilde, not OVERLINE
        {bytes({0x87, 0x40}), 0x2460},  // NEC row 13: circled digit one
        {bytes({0xF0, 0x40}), 0xE000},  // user-defined area to the private use area
        {bytes({0x81, 0x7C}), 0xFF0D},  // full-width hyphen-minus, not MINUS SIGN
        {bytes({0xB1}), 0xFF71},        // half-width katakana A
        {bytes({0x1A}), 0x001A},        // control codes are ASCII (IBM tables rotate 0x1A, 0x1C, 0x7F)
        {bytes({0x1C}), 0x001C},       {bytes({0x7F}), 0x007F},
        {bytes({0xED, 0x40}), 0x7E8A},  // NEC-selected IBM extension ...
    };
    for (const auto& c : cases) {
        QString u = SjisCodec::ToUnicode(c.code);
        ASSERT_EQ(u.size(), 1);
        EXPECT_EQ(u[0].unicode(), c.unicode);
        if (c.code != bytes({0xED, 0x40})) {
            EXPECT_EQ(SjisCodec::FromUnicode(u), c.code);
        }
    }
    EXPECT_EQ(SjisCodec::FromUnicode(QString(QChar(0x7E8A))), bytes({0xFA, 0x5C}));  // ... written as IBM's
    EXPECT_EQ(SjisCodec::FromUnicode(QString(QChar(0xFFE2))), bytes({0x81, 0xCA}));  // NOT SIGN: JIS code
}

// Every code that is the only one for its character comes back unchanged; duplicates come back as the code
// Windows chooses, which decodes to the same character.
TEST(SjisCodec, RoundTripOfEveryCode) {
    int unique = 0, nonCanonical = 0, unmapped = 0;
    std::map<char16_t, int> codesPerChar;
    std::vector<std::pair<unsigned, char16_t>> all;
    for (unsigned b = 0; b < 0x100; ++b)
        if (!sjis::IsLeadByte(static_cast<unsigned char>(b))) all.push_back({b, SjisCodec::Decode(b)});
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!sjis::IsLeadByte(static_cast<unsigned char>(lead))) continue;
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail)
            if (trail != 0x7F) all.push_back({(lead << 8) | trail, SjisCodec::Decode((lead << 8) | trail)});
    }
    for (auto& [code, u] : all)
        if (u != SjisCodec::kNoChar) ++codesPerChar[u];
    for (auto& [code, u] : all) {
        if (u == SjisCodec::kNoChar) {
            ++unmapped;
            continue;
        }
        int back = SjisCodec::Encode(u);
        ASSERT_GE(back, 0) << std::hex << code;
        EXPECT_EQ(SjisCodec::Decode(static_cast<unsigned>(back)), u) << std::hex << code;
        if (codesPerChar[u] == 1) {
            ++unique;
            EXPECT_EQ(static_cast<unsigned>(back), code) << std::hex << code;
        } else if (static_cast<unsigned>(back) != code) {
            ++nonCanonical;
        }
    }
    EXPECT_EQ(unmapped, 1676 + 5);  // two-byte codes, and the single bytes 0x80, 0xA0, 0xFD, 0xFE, 0xFF
    EXPECT_EQ(nonCanonical, 398);   // codes that share their character with the code Windows writes
    EXPECT_GT(unique, 7000);
}

TEST(SjisCodec, UnmappableInputIsReplacedNotDropped) {
    EXPECT_EQ(SjisCodec::ToUnicode(bytes({0x85, 0x40, 0x41})), QString(QChar(0xFFFD)) + "A");
    EXPECT_EQ(SjisCodec::ToUnicode(bytes({0x41, 0x88})), QString("A") + QChar(0xFFFD));  // lone lead at end
    EXPECT_EQ(SjisCodec::ToUnicode(std::string("a\0b", 3)), QString::fromUtf16(u"a\0b", 3));
    EXPECT_EQ(SjisCodec::FromUnicode(QString::fromUtf8("a\xF0\x9F\x98\x80"
                                                       "b")),
              "a??b");  // surrogates
    EXPECT_EQ(SjisCodec::FromUnicode(QString::fromUtf8("日本\r\n")), bytes({0x93, 0xFA, 0x96, 0x7B, 13, 10}));
}
