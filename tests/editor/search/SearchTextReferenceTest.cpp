// The search against a plain implementation of the same algorithm: a byte-kind map of the whole text, a
// budget of candidate positions, and a character-by-character comparison at every candidate. It is slow and
// simple on purpose; the fast search must agree with it on found, start and length for every input.
//
// VELLORIA_SEARCH_CASES sets the number of random texts (default 3000; each is searched with several
// patterns and positions under all 64 flag combinations), VELLORIA_SEARCH_SEED the seed.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "editor/search/FullWidth.h"
#include "editor/search/SearchText.h"
#include "text/ShiftJis.h"

namespace {

using uchar = unsigned char;
using TResult = std::optional<std::pair<std::ptrdiff_t, std::ptrdiff_t>>;

class TReferenceSearch {
public:
    TReferenceSearch(const std::string& text, const std::string& pattern, TSearchFlags flags)
        : FText(text),
          FSize(static_cast<std::ptrdiff_t>(text.size())),
          FForward(flags & sfForward),
          FMatchCase(flags & sfMatchCase),
          FWholeWord(flags & sfWholeWord),
          FIgnoreWidth(flags & sfIgnoreWidth),
          FIgnoreLineBreaks(flags & sfIgnoreLineBreaks),
          FIgnoreSpaces(flags & sfIgnoreSpaces) {
        FPattern = pattern;
        if (!FMatchCase) FPattern = Upper(pattern);
        if (FIgnoreWidth) FPattern = ToFullWidth(FPattern);
        for (std::size_t i = 0; i < FPattern.size(); i += PatternCharLength(i)) ++FPatternChars;
        // The byte-kind map of the whole text.
        FKind.assign(text.size(), kSingle);
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (IsLead(B(i)) && i + 1 < text.size()) {
                FKind[i] = kLead;
                FKind[++i] = kTrail;
            }
        }
    }

    TResult Run(std::ptrdiff_t start, std::ptrdiff_t length) const {
        if (FPattern.empty() || FSize == 0) return std::nullopt;
        if (start < 0 || start > FSize || length < 0) return std::nullopt;
        const std::ptrdiff_t patternLength =
            FIgnoreWidth ? FPatternChars : static_cast<std::ptrdiff_t>(FPattern.size());
        std::ptrdiff_t p, budget;
        if (FForward) {
            if (length > FSize) return std::nullopt;
            p = start + length;
            if (p < FSize && FKind[p] == kTrail) ++p;
            budget = FSize - p - patternLength;
            if (budget < 0 || p + budget > FSize) return std::nullopt;
        } else {
            if (!FIgnoreWidth) {
                p = start - static_cast<std::ptrdiff_t>(FPattern.size());
            } else {
                p = start;
                for (std::ptrdiff_t n = 0; n < FPatternChars; ++n) {
                    if (--p < 0) return std::nullopt;
                    if (FKind[p] == kTrail)
                        --p;
                    else if (p > 0 && FKind[p - 1] == kSingle && IsPair(B(p - 1), B(p)))
                        --p;
                }
            }
            if (p < 0 || p > FSize) return std::nullopt;
            if (p < FSize && FKind[p] == kTrail) --p;
            budget = p;
        }

        const std::ptrdiff_t step = FForward ? 1 : -1;
        while (budget >= 0) {
            if (FWholeWord) {
                if (FForward) {
                    if (!(IsWord(p) && (p == 0 || IsDelimiter(p - 1)))) {
                        while (p < FSize && IsWord(p)) {
                            ++p;
                            if (--budget < 0) return std::nullopt;
                        }
                        while (p < FSize && IsDelimiter(p)) {
                            ++p;
                            if (--budget < 0) return std::nullopt;
                        }
                    }
                } else {
                    while (p > 0 && IsDelimiter(p)) --p, --budget;
                    if (IsDelimiter(p)) return std::nullopt;  // nothing but delimiters back to the text start
                    while (p > 0 && IsWord(p)) --p, --budget;
                    if (IsDelimiter(p)) ++p, ++budget;
                }
                if (p >= 0 && p < FSize && FKind[p] == kTrail) {
                    p += step;
                    if (--budget < 0) return std::nullopt;
                }
            }
            const std::ptrdiff_t covered = Compare(p);
            if (covered >= 0) return std::make_pair(p, covered);
            p += step;
            --budget;
            if (p >= 0 && p < FSize && FKind[p] == kTrail) p += step, --budget;
        }
        return std::nullopt;
    }

private:
    enum TKind { kSingle, kLead, kTrail };

    static bool IsLead(uchar c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
    static uchar UpperByte(uchar c) { return (c >= 'a' && c <= 'z') ? c - 32 : c; }
    static std::string Upper(const std::string& s) {
        std::string out;
        for (std::size_t i = 0; i < s.size(); ++i) {
            const auto c = static_cast<uchar>(s[i]);
            if (IsLead(c) && i + 1 < s.size()) {
                out += s[i];
                out += static_cast<char>(FoldFullWidth(c, static_cast<uchar>(s[++i])));
            } else {
                out += static_cast<char>(UpperByte(c));
            }
        }
        return out;
    }
    static uchar FoldFullWidth(uchar lead, uchar trail) {
        return (lead == 0x82 && trail >= 0x81 && trail <= 0x9A) ? trail - 0x21 : trail;
    }
    // A half-width kana and a mark form one character exactly when the width conversion joins them.
    static bool IsPair(uchar a, uchar b) {
        return a >= 0xA1 && a <= 0xDF && b >= 0xA1 && b <= 0xDF &&
               ToFullWidth(std::string{static_cast<char>(a), static_cast<char>(b)}).size() == 2;
    }

    uchar B(std::ptrdiff_t i) const { return i < FSize ? static_cast<uchar>(FText[i]) : 0; }
    std::size_t PatternCharLength(std::size_t i) const {
        return (IsLead(static_cast<uchar>(FPattern[i])) && i + 1 < FPattern.size()) ? 2 : 1;
    }
    bool IsDelimiter(std::ptrdiff_t i) const {
        if (i >= FSize) return true;  // the terminating zero
        if (FKind[i] == kTrail) return false;
        const uchar c = B(i);
        return c <= 0x2F || (c >= 0x3A && c <= 0x40) || (c >= 0x5B && c <= 0x60) ||
               (c >= 0x7B && c <= 0x80) || (c >= 0xA0 && c <= 0xA5) || c >= 0xFD;
    }
    bool IsWord(std::ptrdiff_t i) const { return !IsDelimiter(i); }

    // Compares at p; returns the bytes covered (k + s) or -1.
    std::ptrdiff_t Compare(std::ptrdiff_t p) const {
        std::size_t i = 0;
        std::ptrdiff_t k = 0, s = 0;
        bool matched = false;
        while (i < FPattern.size()) {
            const std::ptrdiff_t t = p + k + s;
            if (t >= FSize) return -1;
            const std::string pc = FPattern.substr(i, PatternCharLength(i));
            std::string tc;
            std::ptrdiff_t size;
            if (FKind[t] == kLead) {
                tc = FText.substr(t, 2);
                size = 2;
            } else if (FIgnoreWidth) {
                size = (t + 1 < FSize && IsPair(B(t), B(t + 1))) ? 2 : 1;
                tc = ToFullWidth(FText.substr(t, size));
            } else {
                tc = std::string(1, static_cast<char>(FMatchCase ? B(t) : UpperByte(B(t))));
                size = 1;
            }
            if (!FMatchCase && tc.size() == 2)
                tc[1] =
                    static_cast<char>(FoldFullWidth(static_cast<uchar>(tc[0]), static_cast<uchar>(tc[1])));
            if (tc == pc) {
                i += pc.size();
                k += size;
                matched = true;
                continue;
            }
            if (!matched) return -1;
            const uchar c = B(t);
            if (FIgnoreLineBreaks && FKind[t] == kSingle && (c == '\r' || c == '\n')) {
                ++s;
            } else if (FIgnoreSpaces && FKind[t] == kSingle && (c == '\t' || c == ' ')) {
                ++s;
            } else if (FIgnoreSpaces && FKind[t] == kLead && c == 0x81 && B(t + 1) == 0x40) {
                s += 2;
            } else {
                return -1;
            }
        }
        if (FWholeWord && !IsDelimiter(p + k + s)) return -1;
        return k + s;
    }

    const std::string& FText;
    std::ptrdiff_t FSize;
    bool FForward, FMatchCase, FWholeWord, FIgnoreWidth, FIgnoreLineBreaks, FIgnoreSpaces;
    std::string FPattern;
    std::ptrdiff_t FPatternChars = 0;
    std::vector<TKind> FKind;
};

// Pieces the random texts are made of: letters in both cases and widths, digits, delimiters, line breaks,
// spaces of both widths, half-width kana with and without voicing marks, full-width kana, and double-byte
// characters whose trail bytes look like lead bytes, delimiters, backslashes or half-width kana.
const std::vector<std::string> kPieces = {
    "a",        "b",        "A",        "B",        "x",        "1",        " ",        "\t",
    "\r\n",     "\r",       "\n",       ".",        "@",        "[",        "_",        "\x82\x81",
    "\x82\x60", "\x82\x82", "\x82\x61", "\x81\x40",              // ａ Ａ ｂ Ｂ, full-width space
    "\x81\x45", "\x81\x44", "\x81\x4A", "\x81\x4B", "\x81\x5B",  // ・ ． ゛ ゜ ー
    "\x83\x4A", "\x83\x4B", "\x83\x6E", "\x83\x70", "\x83\x45", "\x83\x94", "\x83\x4C",  // カガハパウヴキ
    "\xB6",     "\xCA",     "\xB3",     "\xDE",     "\xDF",     "\xA5",     "\xB0",
    "\xB1",                                                      // ｶ ﾊ ｳ ﾞ ﾟ ･ ｰ ｱ
    "\xB6\xDE", "\xCA\xDF", "\xB3\xDE", "\xB6\xDF", "\xB3\xDF",  // ｶﾞ ﾊﾟ ｳﾞ ｶﾟ ｳﾟ
    "\x88\x9F", "\x89\x40", "\x95\x5C", "\x83\x61", "\x82\xA0", "\xE0\x40", "\x83\xB6", "\x88\x88",
};

std::string RandomText(std::mt19937& rng) {
    std::string text;
    // Mostly short texts, now and then one long enough for the filter's 16-byte blocks to matter.
    const int pieces = static_cast<int>(rng() % (rng() % 8 ? 24 : 160));
    const bool leadHeavy = rng() % 6 == 0;  // long runs of lead-range bytes
    for (int i = 0; i < pieces; ++i) {
        if (leadHeavy && rng() % 3) {
            text += (rng() % 2) ? "\x88\x9F" : "\x88\x88";
            continue;
        }
        text += kPieces[rng() % kPieces.size()];
    }
    if (rng() % 10 == 0) text += '\x88';  // a lead byte alone at the end
    return text;
}

std::string RandomPattern(std::mt19937& rng, const std::string& text) {
    std::string pattern;
    const int how = static_cast<int>(rng() % 5);
    if (how <= 1 && !text.empty()) {
        // A piece of the text, now and then cut through a character.
        std::size_t from = rng() % text.size();
        if (rng() % 4) from = sjis::CharStart(text, from);
        pattern = text.substr(from, 1 + rng() % 6);
    } else if (how == 2 && !text.empty()) {
        // A piece of the text in another case and width.
        const std::size_t from = sjis::CharStart(text, rng() % text.size());
        pattern = text.substr(from, 1 + rng() % 5);
        for (char& c : pattern)
            if (c >= 'a' && c <= 'z' && rng() % 2) c = static_cast<char>(c - 32);
        if (rng() % 2) pattern = ToFullWidth(pattern);
    } else {
        const int pieces = 1 + static_cast<int>(rng() % 3);
        for (int i = 0; i < pieces; ++i) pattern += kPieces[rng() % kPieces.size()];
    }
    return pattern;
}

std::string Hex(const std::string& s) {
    std::string out;
    char buf[4];
    for (unsigned char c : s) {
        std::snprintf(buf, sizeof buf, "%02X ", c);
        out += buf;
    }
    return out;
}

long EnvNumber(const char* name, long fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::strtol(value, nullptr, 10) : fallback;
}

}  // namespace

TEST(SearchTextReference, FastSearchAgreesWithThePlainAlgorithm) {
    const long cases = EnvNumber("VELLORIA_SEARCH_CASES", 3000);
    const auto seed = static_cast<std::uint32_t>(EnvNumber("VELLORIA_SEARCH_SEED", 20240611));
    std::mt19937 rng(seed);
    long compared = 0, found = 0, failures = 0;
    for (long c = 0; c < cases && failures < 10; ++c) {
        const std::string text = RandomText(rng);
        for (int q = 0; q < 4 && failures < 10; ++q) {
            const std::string pattern = RandomPattern(rng, text);
            const auto size = static_cast<std::ptrdiff_t>(text.size());
            // Often the end the search starts from, otherwise anywhere in the text and sometimes just beyond.
            const bool fromEnd = rng() % 2;
            const std::ptrdiff_t anywhere = static_cast<std::ptrdiff_t>(rng() % (text.size() + 3)) - 1;
            const std::ptrdiff_t length = rng() % 8 == 0 ? -1 : static_cast<std::ptrdiff_t>(rng() % 4);
            for (int bits = 0; bits < 64; ++bits) {
                TSearchFlags flags = 0;
                if (bits & 1) flags |= sfForward;
                if (bits & 2) flags |= sfMatchCase;
                if (bits & 4) flags |= sfWholeWord;
                if (bits & 8) flags |= sfIgnoreWidth;
                if (bits & 16) flags |= sfIgnoreLineBreaks;
                if (bits & 32) flags |= sfIgnoreSpaces;
                if (rng() % 4 == 0) flags |= sfReplaceAll;
                const std::ptrdiff_t start = !fromEnd ? anywhere : (flags & sfForward) ? 0 : size;

                const TResult expected = TReferenceSearch(text, pattern, flags).Run(start, length);
                TSearchPosition pos{start, length};
                const bool ok = SearchText(text, pos, pattern, flags);
                TResult actual;
                if (ok) actual = std::make_pair(pos.Start, pos.Length);
                ++compared;
                if (expected) ++found;
                const bool untouched = ok || (pos.Start == start && pos.Length == length);
                if (actual != expected || !untouched) {
                    ++failures;
                    ADD_FAILURE() << "text [" << Hex(text) << "] size " << size << "\npattern ["
                                  << Hex(pattern) << "] flags 0x" << std::hex << flags << std::dec
                                  << " start " << start << " length " << length << "\nexpected "
                                  << (expected ? std::to_string(expected->first) + "," +
                                                     std::to_string(expected->second)
                                               : "none")
                                  << " got "
                                  << (ok ? std::to_string(pos.Start) + "," + std::to_string(pos.Length)
                                         : "none")
                                  << (untouched ? "" : " (record changed on failure)");
                }
            }
        }
    }
    // The random inputs must actually produce matches, or the comparison proves little.
    EXPECT_GT(found, compared / 10) << compared << " searches compared";
    std::printf("[ reference ] seed %u: %ld searches compared, %ld found\n", seed, compared, found);
}
