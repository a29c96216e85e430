#include "editor/search/SearchText.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>

using namespace std::string_literals;

namespace {

using TFound = std::optional<std::pair<std::ptrdiff_t, std::ptrdiff_t>>;

// Runs one search from (start, length); the result is the new (start, length), or nothing.
TFound Find(const std::string& text, const std::string& pattern, TSearchFlags flags, std::ptrdiff_t start,
            std::ptrdiff_t length = 0) {
    TSearchPosition pos{start, length};
    if (!SearchText(text, pos, pattern, flags)) return std::nullopt;
    return std::make_pair(pos.Start, pos.Length);
}
TFound At(std::ptrdiff_t start, std::ptrdiff_t length) {
    return std::make_pair(start, length);
}

constexpr TSearchFlags kFwd = sfForward;
constexpr TSearchFlags kBack = 0;

}  // namespace

TEST(SearchText, ForwardBeginsAfterTheCurrentMatchBackwardMayEndWhereItBegins) {
    EXPECT_EQ(Find("abcabc", "abc", kFwd | sfMatchCase, 0, 3), At(3, 3));
    EXPECT_EQ(Find("abcabc", "abc", kBack | sfMatchCase, 3, 3), At(0, 3));
    EXPECT_EQ(Find("abcabc", "abc", kFwd | sfMatchCase, 3, 3), std::nullopt);
    EXPECT_EQ(Find("abcabc", "abc", kBack | sfMatchCase, 2, 0), std::nullopt);  // would overlap offset 2
    EXPECT_EQ(Find("abcabc", "abc", kFwd, 0, 0), At(0, 3));
    EXPECT_EQ(Find("abcabc", "abc", kBack, 6, 0), At(3, 3));
    EXPECT_EQ(Find("abcabc", "abc", kFwd | sfReplaceAll, 1, 0), At(3, 3));  // 0x20 changes nothing
}

TEST(SearchText, RejectsEmptyInputAndPositionsOutsideTheTextLeavingTheRecordAlone) {
    for (TSearchFlags f : {kFwd, kBack}) {
        TSearchPosition pos{1, 1};
        EXPECT_FALSE(SearchText("abc", pos, "", f));
        EXPECT_FALSE(SearchText("", pos, "a", f));
        EXPECT_EQ(pos.Start, 1);
        EXPECT_EQ(pos.Length, 1);
        pos = {0, 0};
        EXPECT_FALSE(SearchText("abc", pos, "zz", f));  // not found: also untouched
        EXPECT_EQ(pos.Start, 0);
        EXPECT_EQ(pos.Length, 0);
        EXPECT_EQ(Find("abc", "a", f, -1), std::nullopt);
        EXPECT_EQ(Find("abc", "a", f, 4), std::nullopt);
        EXPECT_EQ(Find("abc", "a", f, 0, -1), std::nullopt);
    }
    EXPECT_EQ(Find("abc", "c", kFwd, 1, 5), std::nullopt);  // the match would begin beyond the end
    EXPECT_EQ(Find("abc", "c", kFwd, 1, PTRDIFF_MAX), std::nullopt);
    EXPECT_EQ(Find("abc", "abc", kBack, 3), At(0, 3));  // backward from the very end
}

// 亜 is 0x88 0x9F: its trail byte is itself in the lead range. 表 is 0x95 0x5C: its trail byte is a
// backslash.
TEST(SearchText, NeverMatchesOnTheSecondByteOfACharacter) {
    const std::string text = "\x88\x9F\x88\x9F\x95\x5C"s;  // 亜亜表
    for (TSearchFlags f : std::initializer_list<TSearchFlags>{kFwd, kBack, kFwd | sfMatchCase,
                                                              kBack | sfIgnoreWidth, kFwd | sfIgnoreSpaces}) {
        const std::ptrdiff_t from = (f & sfForward) ? 0 : 6;
        EXPECT_EQ(Find(text, "\x9F\x88"s, f, from), std::nullopt) << f;
        EXPECT_EQ(Find(text, "\\", f, from), std::nullopt) << f;
        EXPECT_EQ(Find(text, "\x88\x9F\x95"s, f, from), std::nullopt) << f;
    }
    EXPECT_EQ(Find(text, "\x88\x9F"s, kBack, 6), At(2, 2));
    EXPECT_EQ(Find(text, "\x88\x9F"s, kFwd, 1), At(2, 2));   // a start on a trail byte moves on
    EXPECT_EQ(Find(text, "\x88\x9F"s, kBack, 3), At(0, 2));  // start 3 - 2 = 1 is a trail byte: back to 0
}

TEST(SearchText, WithoutMatchCaseLettersFoldInBothWidths) {
    EXPECT_EQ(Find("xx abc", "ABC", kFwd, 0), At(3, 3));
    EXPECT_EQ(Find("xx abc", "aBc", kBack, 6), At(3, 3));
    EXPECT_EQ(Find("xx abc", "ABC", kFwd | sfMatchCase, 0), std::nullopt);
    const std::string small = "\x82\x81\x82\x82\x82\x83"s;    // ａｂｃ
    const std::string capital = "\x82\x60\x82\x61\x82\x62"s;  // ＡＢＣ
    EXPECT_EQ(Find("." + small, capital, kFwd, 0), At(1, 6));
    EXPECT_EQ(Find("." + capital, capital, kBack, 7), At(1, 6));
    EXPECT_EQ(Find("." + small, capital, kFwd | sfMatchCase, 0), std::nullopt);
    // Small full-width letters in the pattern are raised like the ASCII ones, so they find both forms.
    EXPECT_EQ(Find("." + capital, small, kFwd, 0), At(1, 6));
    EXPECT_EQ(Find("." + small, small, kBack, 7), At(1, 6));
    EXPECT_EQ(Find("." + capital, small, kFwd | sfMatchCase, 0), std::nullopt);
}

// ヂ is 0x83 0x61, ア 0x83 0x41: raising the pattern byte by byte would turn the one into the other.
TEST(SearchText, CaseFoldingNeverTouchesTrailBytes) {
    EXPECT_EQ(Find("\x83\x41"s, "\x83\x61"s, kFwd, 0), std::nullopt);
    EXPECT_EQ(Find("\x83\x61"s, "\x83\x61"s, kFwd, 0), At(0, 2));
    EXPECT_EQ(Find("\x83\x61"s, "\x83\x41"s, kBack, 2), std::nullopt);
}

TEST(SearchText, WholeWordNeedsABoundaryOnBothSides) {
    for (TSearchFlags dir : {kFwd, kBack}) {
        const TSearchFlags f = dir | sfWholeWord;
        const auto from = [&](const std::string& t) {
            return (dir & sfForward) ? 0 : std::ptrdiff_t(t.size());
        };
        EXPECT_EQ(Find("xabc", "abc", f, from("xabc")), std::nullopt) << dir;
        EXPECT_EQ(Find("abcx", "abc", f, from("abcx")), std::nullopt) << dir;
        EXPECT_EQ(Find("abcx abc", "abc", f, from("abcx abc")), At(5, 3)) << dir;
        EXPECT_EQ(Find("xabc abcx", "abc", f, from("xabc abcx")), std::nullopt) << dir;
        EXPECT_EQ(Find("x abc.", "abc", f, from("x abc.")), At(2, 3)) << dir;
        EXPECT_EQ(Find("abc", "abc", f, from("abc")), At(0, 3)) << dir;
        EXPECT_EQ(Find("x-abc", "abc", f, from("x-abc")), At(2, 3)) << dir;
        EXPECT_EQ(Find("abc\r\nx", "abc", f, from("abc\r\nx")), At(0, 3)) << dir;
        // Half-width kana and digits are word characters; 0xA5 (･) is a delimiter.
        EXPECT_EQ(Find("\xB1"
                       "abc",
                       "abc", f,
                       from("\xB1"
                            "abc")),
                  std::nullopt)
            << dir;
        EXPECT_EQ(Find("1abc", "abc", f, from("1abc")), std::nullopt) << dir;
        EXPECT_EQ(Find("\xA5"
                       "abc",
                       "abc", f,
                       from("\xA5"
                            "abc")),
                  At(1, 3))
            << dir;
        // A double-byte character counts by its lead byte, a word character: 院 is 0x89 0x40, and its trail
        // byte (the value of "@") does not end a word.
        EXPECT_EQ(Find("\x89\x40"
                       "abc"s,
                       "abc", f,
                       from("\x89\x40"
                            "abc"s)),
                  std::nullopt)
            << dir;
        EXPECT_EQ(Find("abc\x89\x40"s, "abc", f, from("abc\x89\x40"s)), std::nullopt) << dir;
        EXPECT_EQ(Find("@abc@", "abc", f, from("@abc@")), At(1, 3)) << dir;
    }
    EXPECT_EQ(Find("abc abc", "abc", sfForward | sfWholeWord, 0, 3), At(4, 3));
    EXPECT_EQ(Find("abc abc", "abc", sfWholeWord, 4, 3), At(0, 3));
}

// Backward, each skip to a word start used to take a unit of budget that the step forward onto the word
// never gave back, so the budget fell behind the candidate and an earlier whole word was missed.
TEST(SearchText, BackwardWholeWordFindsAWordBeforeALongerOne) {
    EXPECT_EQ(Find("abc abcx", "abc", sfWholeWord, 8), At(0, 3));
    EXPECT_EQ(Find("abc xy abcx zz", "abc", sfWholeWord, 14), At(0, 3));
    EXPECT_EQ(Find("a b c d abcd", "b", sfWholeWord, 12), At(2, 1));
}

// A whole-word match begins at a word start, so a pattern that begins with a delimiter never matches in that
// mode, in either direction (the search also ends when only delimiters are left before the candidate).
TEST(SearchText, WholeWordMatchesBeginAtWordStartsOnly) {
    EXPECT_EQ(Find("..x", ".x", sfWholeWord, 3), std::nullopt);
    EXPECT_EQ(Find("..x", ".x", sfForward | sfWholeWord, 0), std::nullopt);
    EXPECT_EQ(Find("..x", ".x", 0, 3), At(1, 2));
    EXPECT_EQ(Find(" abcx", "abc", sfWholeWord, 5), std::nullopt);
    EXPECT_EQ(Find("  ", "ab", sfWholeWord, 2), std::nullopt);
}

TEST(SearchText, IgnoreWidthMatchesHalfAndFullWidthForms) {
    const TSearchFlags w = sfIgnoreWidth;
    const std::string ga = "\x83\x4B"s;  // ガ
    EXPECT_EQ(Find("x\xB6\xDEy"s, ga, kFwd | w, 0), At(1, 2));
    EXPECT_EQ(Find("x\xB6\xDEy"s, ga, kBack | w, 4), At(1, 2));
    EXPECT_EQ(Find("x" + ga, "\xB6\xDE"s, kFwd | w, 0), At(1, 2));
    EXPECT_EQ(Find("x\xB6\xDEy"s, ga, kFwd, 0), std::nullopt);  // only with the option
    EXPECT_EQ(Find("xA", "\x82\x60"s, kFwd | w, 0), At(1, 1));  // Ａ finds A
    EXPECT_EQ(Find("xa", "\x82\x60"s, kFwd | w, 0), At(1, 1));  // and a, without match case
    EXPECT_EQ(Find("xa", "\x82\x60"s, kFwd | w | sfMatchCase, 0), std::nullopt);
    EXPECT_EQ(Find("x\x82\x81"s, "A", kBack | w, 3), At(1, 2));         // A finds ａ
    EXPECT_EQ(Find("\xB3\xDE"s, "\x83\x94"s, kFwd | w, 0), At(0, 2));   // ｳﾞ is ヴ
    EXPECT_EQ(Find("\xCA\xDF"s, "\x83\x70"s, kBack | w, 2), At(0, 2));  // ﾊﾟ is パ
    // A kana with its mark is one character: カ alone does not match the first half of ｶﾞ.
    EXPECT_EQ(Find("\xB6\xDE"s, "\x83\x4A"s, kFwd | w, 0), std::nullopt);
}

TEST(SearchText, IgnoreWidthLeavesNonVoicingMarksOnTheirOwn) {
    const TSearchFlags w = sfIgnoreWidth;
    // ｶﾟ is カ followed by ゜, not キ (the +2 step of the katakana row).
    EXPECT_EQ(Find("\xB6\xDF"s, "\x83\x4C"s, kFwd | w, 0), std::nullopt);
    EXPECT_EQ(Find("\xB6\xDF"s, "\x83\x4A\x81\x4B"s, kFwd | w, 0), At(0, 2));
    EXPECT_EQ(Find("\xB6\xDF"s, "\x83\x4A"s, kFwd | w, 0), At(0, 1));
    // Backward, the step back from the current position joins exactly the pairs the comparison joins. ｳﾟ is
    // two characters, so the ﾟ just before the end is one character back.
    EXPECT_EQ(Find("\xB3\xDF"s, "\x81\x4B"s, kBack | w, 2), At(1, 1));
    EXPECT_EQ(Find("\xB3\xDF"s, "\xDF"s, kBack | w, 2), At(1, 1));
    EXPECT_EQ(Find("\xCA\xDF"s, "\x83\x70"s, kBack | w, 2), At(0, 2));  // ﾊﾟ is one character back
}

TEST(SearchText, HalfWidthMiddleDotMatchesTheFullWidthMiddleDot) {
    EXPECT_EQ(Find("a\xA5"
                   "b",
                   "\x81\x45"s, kFwd | sfIgnoreWidth, 0),
              At(1, 1));  // ・
    EXPECT_EQ(Find("a\xA5"
                   "b",
                   "\x81\x44"s, kFwd | sfIgnoreWidth, 0),
              std::nullopt);  // ． is the full stop
    EXPECT_EQ(Find("a.b", "\x81\x44"s, kFwd | sfIgnoreWidth, 0), At(1, 1));
}

TEST(SearchText, IgnoreLineBreaksAndSpacesSkipInsideAMatchOnly) {
    EXPECT_EQ(Find("xa\r\nb", "ab", kFwd | sfIgnoreLineBreaks, 0), At(1, 4));
    EXPECT_EQ(Find("xa\r\nb", "ab", kBack | sfIgnoreLineBreaks, 5), At(1, 4));
    EXPECT_EQ(Find("xa\r\nb", "ab", kFwd, 0), std::nullopt);
    EXPECT_EQ(Find("xa\r\nb", "ab", kFwd | sfIgnoreSpaces, 0), std::nullopt);
    EXPECT_EQ(Find("\r\nab", "ab", kFwd | sfIgnoreLineBreaks, 0), At(2, 2));  // the break before stays out
    EXPECT_EQ(Find("ab\r\n", "ab", kFwd | sfIgnoreLineBreaks, 0), At(0, 2));  // and the break after
    const std::string spaced =
        "a \t\x81\x40"
        "b"s;  // a, space, tab, full-width space, b
    EXPECT_EQ(Find(spaced, "ab", kFwd | sfIgnoreSpaces, 0), At(0, 6));
    EXPECT_EQ(Find(spaced, "ab", kFwd | sfIgnoreLineBreaks, 0), std::nullopt);
    EXPECT_EQ(Find("a \r\n b", "ab", kBack | sfIgnoreSpaces | sfIgnoreLineBreaks, 6), At(0, 6));
    // A space in the pattern still matches a space in the text.
    EXPECT_EQ(Find("a b", "a b", kFwd | sfIgnoreSpaces, 0), At(0, 3));
    // Whole word checks the byte after the skipped bytes too.
    EXPECT_EQ(Find("a\r\nbc", "ab", kFwd | sfIgnoreLineBreaks | sfWholeWord, 0), std::nullopt);
    EXPECT_EQ(Find("a\r\nb c", "ab", kFwd | sfIgnoreLineBreaks | sfWholeWord, 0), At(0, 4));
}

TEST(SearchText, BackwardIgnoreWidthStepsBackOneCharacterPerPatternCharacter) {
    const TSearchFlags f = kBack | sfIgnoreWidth;
    // "ｶﾞab" with the current match "ab" at 2: the pattern ガa has two characters, so the search may begin
    // two characters back (ｶﾞ counts as one), at 0.
    const std::string text =
        "\xB6\xDE"
        "ab"s;
    EXPECT_EQ(Find(text,
                   "\x83\x4B"
                   "a"s,
                   f, 3, 1),
              At(0, 3));
    // "亜ab": from 3, two characters back is 0 (亜 is one character).
    EXPECT_EQ(Find("\x88\x9F"
                   "ab"s,
                   "\x88\x9F"
                   "a"s,
                   f, 3),
              At(0, 3));
    // Stepping back before the start of the text finds nothing.
    EXPECT_EQ(Find("ab", "abc", f, 2), std::nullopt);
}

TEST(SearchText, LongPatternsAndRepeatedBytes) {
    std::string text(300, 'a');
    text += "b";
    EXPECT_EQ(Find(text, std::string(40, 'a') + "b", kFwd | sfMatchCase, 0), At(260, 41));
    EXPECT_EQ(Find(text, std::string(40, 'A') + "B", kBack, 301), At(260, 41));
    EXPECT_EQ(Find(text, std::string(300, 'a'), kBack, 301), At(0, 300));
    EXPECT_EQ(Find(text, std::string(302, 'a'), kFwd, 0), std::nullopt);
    // A long run of lead-range bytes: the pairs count from the start of the run.
    std::string kanji;
    for (int i = 0; i < 500; ++i) kanji += "\x88\x9F";  // 亜亜…
    EXPECT_EQ(Find(kanji + "\x95\x5C", "\x9F\x95\x5C"s, kFwd, 0), std::nullopt);
    EXPECT_EQ(Find(kanji + "\x95\x5C", "\x88\x9F\x95\x5C"s, kFwd, 0), At(998, 4));
    EXPECT_EQ(Find("x" + kanji, "\x9F\x88"s, kBack, 1001), std::nullopt);
}
