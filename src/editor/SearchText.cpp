#include "editor/SearchText.h"

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "editor/ByteKindMap.h"
#include "editor/FullWidth.h"
#include "text/ShiftJis.h"

namespace {

using uchar = unsigned char;

// Case tables, built by the compiler (once per process, never per call).
//
// Upper-casing of single bytes: code page 932 has case only in ASCII. Its bytes above 0x7F are lead bytes,
// half-width katakana or unused, so the system's ANSI upper-casing of the 256 byte values raises a-z and
// leaves every other byte as it is; this table is that result.
constexpr std::array<uchar, 256> BuildUpper() {
    std::array<uchar, 256> t{};
    for (int c = 0; c < 256; ++c) t[c] = static_cast<uchar>(c >= 'a' && c <= 'z' ? c - 0x20 : c);
    return t;
}
// Trail bytes of full-width Latin letters after lead 0x82: ａ-ｚ (0x81-0x9A) fold to Ａ-Ｚ (0x60-0x79).
constexpr std::array<uchar, 256> BuildTrail() {
    std::array<uchar, 256> t{};
    for (int c = 0; c < 256; ++c) t[c] = static_cast<uchar>(c >= 0x81 && c <= 0x9A ? c - 0x21 : c);
    return t;
}
// Word delimiters for whole-word matching. Every other byte is a word character: digits, letters, half-width
// katakana and the lead bytes (a double-byte character counts by its lead byte, so its trail byte is never a
// delimiter, whatever its value).
constexpr std::array<bool, 256> BuildDelimiters() {
    std::array<bool, 256> t{};
    for (int c = 0; c < 256; ++c)
        t[c] = c <= 0x2F || (c >= 0x3A && c <= 0x40) || (c >= 0x5B && c <= 0x60) ||
               (c >= 0x7B && c <= 0x80) || (c >= 0xA0 && c <= 0xA5) || c >= 0xFD;
    return t;
}
constexpr std::array<uchar, 256> kUpper = BuildUpper();
constexpr std::array<uchar, 256> kTrail = BuildTrail();
constexpr std::array<bool, 256> kDelimiter = BuildDelimiters();

constexpr std::size_t kNoMatch = static_cast<std::size_t>(-1);
constexpr uchar kFullWidthLead = 0x82;

// The pattern as the comparison expects it without match case: single bytes through the upper-case table,
// full-width small letters raised to capitals (the comparison folds the text's full-width letters to
// capitals, so a pattern in small full-width letters must be raised too, or it could never match). Trail
// bytes are never touched: 0x83 0x61 (ヂ) must not become 0x83 0x41 (ア).
std::string UpperCasePattern(std::string_view pattern) {
    std::string out(pattern);
    for (std::size_t i = 0; i < out.size();) {
        if (sjis::CharLength(out, i) == 2) {
            if (static_cast<uchar>(out[i]) == kFullWidthLead)
                out[i + 1] = static_cast<char>(kTrail[static_cast<uchar>(out[i + 1])]);
            i += 2;
        } else {
            out[i] = static_cast<char>(kUpper[static_cast<uchar>(out[i])]);
            ++i;
        }
    }
    return out;
}

// Bytes that a text may hold at one position of a contiguous match (at most two values).
struct TAccept {
    uchar A, B;
    bool Has(uchar c) const { return c == A || c == B; }
};

class TSearcher {
public:
    TSearcher(std::string_view text, std::string pattern, TSearchFlags flags)
        : FText(reinterpret_cast<const uchar*>(text.data())),
          FSize(text.size()),
          FKinds(text),
          FPattern(std::move(pattern)),
          FPat(reinterpret_cast<const uchar*>(FPattern.data())),
          FLen(FPattern.size()),
          FMatchCase(flags & sfMatchCase),
          FWholeWord(flags & sfWholeWord),
          FIgnoreWidth(flags & sfIgnoreWidth),
          FIgnoreLineBreaks(flags & sfIgnoreLineBreaks),
          FIgnoreSpaces(flags & sfIgnoreSpaces) {}

    TByteKindMap& Kinds() { return FKinds; }
    bool IgnoreWidth() const { return FIgnoreWidth; }

    // Searches the candidates first..last (forward) or first..0 (backward). The candidates are the
    // character boundaries of that range (in whole-word mode only the word starts among them); the nearest
    // one in the search direction where the pattern matches wins.
    bool Find(bool forward, std::size_t first, std::size_t last, std::size_t& start, std::size_t& length) {
        const bool contiguous = !FIgnoreWidth && !FIgnoreLineBreaks && !FIgnoreSpaces && FLen >= 2;
        if (contiguous) {
            PrepareContiguous();
            return forward ? ContiguousForward(first, last, start, length)
                           : ContiguousBackward(first, start, length);
        }
        PrepareFirstBytes();
        return forward ? ScanForward(first, last, start, length) : ScanBackward(first, start, length);
    }

private:
    std::size_t PatternCharLength(std::size_t i) const {
        return (sjis::IsLeadByte(FPat[i]) && i + 1 < FLen) ? 2 : 1;
    }
    // Second byte of a text double-byte character as the comparison sees it.
    uchar FoldTrail(uchar lead, uchar trail) const {
        return (!FMatchCase && lead == kFullWidthLead) ? kTrail[trail] : trail;
    }
    // Compares a full-width form (one or two bytes) with the pattern character at i.
    bool WideEquals(const fullwidth::TWide& w, std::size_t i, std::size_t plen) const {
        if (w.Size == 2)
            return plen == 2 && w.Bytes[0] == FPat[i] && FoldTrail(w.Bytes[0], w.Bytes[1]) == FPat[i + 1];
        return plen == 1 && w.Bytes[0] == FPat[i];
    }

    // Compares the pattern with the text at the character boundary q; returns the number of text bytes the
    // match covers, or kNoMatch.
    std::size_t MatchAt(std::size_t q) const {
        std::size_t i = 0, t = q;
        bool matched = false;
        while (i < FLen) {
            if (t >= FSize) return kNoMatch;
            const uchar b = FText[t];
            const bool dbl = sjis::IsLeadByte(b) && t + 1 < FSize;
            const std::size_t plen = PatternCharLength(i);
            std::size_t advance = dbl ? 2 : 1;
            bool equal;
            if (dbl) {
                equal = plen == 2 && b == FPat[i] && FoldTrail(b, FText[t + 1]) == FPat[i + 1];
            } else if (FIgnoreWidth) {
                if (t + 1 < FSize && fullwidth::IsVoicedPair(b, FText[t + 1])) {
                    equal = WideEquals(fullwidth::Voiced(b, FText[t + 1]), i, plen);
                    advance = 2;
                } else {
                    equal = WideEquals(fullwidth::Of(b), i, plen);
                }
            } else {
                equal = plen == 1 && (FMatchCase ? b : kUpper[b]) == FPat[i];
            }
            if (equal) {
                i += plen;
                t += advance;
                matched = true;
                continue;
            }
            // Line breaks and spaces are skipped only inside a match, never before its first character.
            if (!matched) return kNoMatch;
            if (FIgnoreLineBreaks && (b == '\r' || b == '\n')) {
                ++t;
                continue;
            }
            if (FIgnoreSpaces) {
                if (b == '\t' || b == ' ') {
                    ++t;
                    continue;
                }
                if (dbl && b == 0x81 && FText[t + 1] == 0x40) {
                    t += 2;
                    continue;
                }
            }
            return kNoMatch;
        }
        return t - q;
    }

    bool IsWordStart(std::size_t q) {
        if (kDelimiter[FText[q]]) return false;
        return q == 0 || (kDelimiter[FText[q - 1]] && !FKinds.IsTrail(q - 1));
    }

    // The full test of one candidate position.
    bool Accept(std::size_t q, std::size_t& length) {
        if (!FKinds.IsBoundary(q)) return false;
        if (FWholeWord && !IsWordStart(q)) return false;
        const std::size_t len = MatchAt(q);
        if (len == kNoMatch) return false;
        // The match ends on a character boundary; the end of the text counts as a delimiter.
        if (FWholeWord && q + len < FSize && !kDelimiter[FText[q + len]]) return false;
        length = len;
        return true;
    }

    // --- Contiguous matches (no width folding, nothing skipped): every pattern byte meets one text byte.
    // A Horspool search over per-position sets of acceptable bytes: the byte under the window's far end
    // decides how far the window may jump.

    void PrepareContiguous() {
        FAccept.resize(FLen);
        for (std::size_t i = 0; i < FLen;) {
            const uchar c = FPat[i];
            if (PatternCharLength(i) == 2) {
                const uchar trail = FPat[i + 1];
                FAccept[i] = {c, c};
                // Without match case a text ａ-ｚ (0x82 0x81-0x9A) matches the pattern's Ａ-Ｚ.
                const bool folds = !FMatchCase && c == kFullWidthLead && trail >= 0x60 && trail <= 0x79;
                FAccept[i + 1] = {trail, static_cast<uchar>(folds ? trail + 0x21 : trail)};
                i += 2;
            } else {
                const bool folds = !FMatchCase && c >= 'A' && c <= 'Z';
                FAccept[i] = {c, static_cast<uchar>(folds ? c + 0x20 : c)};
                ++i;
            }
        }
        const std::size_t m = FLen;
        FShift.fill(static_cast<std::uint32_t>(m));
        FBackShift.fill(static_cast<std::uint32_t>(m));
        for (std::size_t j = 0; j + 1 < m; ++j) {
            FShift[FAccept[j].A] = static_cast<std::uint32_t>(m - 1 - j);
            FShift[FAccept[j].B] = static_cast<std::uint32_t>(m - 1 - j);
        }
        for (std::size_t j = m - 1; j >= 1; --j) {
            FBackShift[FAccept[j].A] = static_cast<std::uint32_t>(j);
            FBackShift[FAccept[j].B] = static_cast<std::uint32_t>(j);
        }
    }

    bool WindowMatches(std::size_t q) const {
        const uchar* w = FText + q;
        for (std::size_t j = 0; j < FLen; ++j)
            if (!FAccept[j].Has(w[j])) return false;
        return true;
    }

    bool ContiguousForward(std::size_t first, std::size_t last, std::size_t& start, std::size_t& length) {
        const std::size_t m1 = FLen - 1;
        const TAccept end = FAccept[m1];
        for (std::size_t q = first; q <= last;) {
            const uchar c = FText[q + m1];
            if (end.Has(c) && WindowMatches(q) && Accept(q, length)) {
                start = q;
                return true;
            }
            q += FShift[c];
        }
        return false;
    }

    bool ContiguousBackward(std::size_t first, std::size_t& start, std::size_t& length) {
        // A window must fit before the end of the text.
        if (first + FLen > FSize) {
            if (FSize < FLen) return false;
            first = FSize - FLen;
        }
        const TAccept head = FAccept[0];
        for (std::ptrdiff_t q = static_cast<std::ptrdiff_t>(first); q >= 0;) {
            const uchar c = FText[q];
            if (head.Has(c) && WindowMatches(static_cast<std::size_t>(q)) &&
                Accept(static_cast<std::size_t>(q), length)) {
                start = static_cast<std::size_t>(q);
                return true;
            }
            q -= static_cast<std::ptrdiff_t>(FBackShift[c]);
        }
        return false;
    }

    // --- Everything else: jump to the bytes that can begin a match and test each candidate in full.

    // Marks every byte with which a text character matching the pattern's first character can begin.
    void PrepareFirstBytes() {
        const std::size_t plen = PatternCharLength(0);
        FFirst.fill(0);
        FFirstCount = 0;
        for (int v = 0; v < 256; ++v) {
            const auto b = static_cast<uchar>(v);
            bool can;
            if (sjis::IsLeadByte(b)) {
                // A double-byte character needs the same lead byte; a lead byte alone at the text's end is a
                // single byte that stays itself.
                can = b == FPat[0];
            } else if (FIgnoreWidth) {
                can = WideEquals(fullwidth::Of(b), 0, plen);
                for (uchar mark : {uchar{0xDE}, uchar{0xDF}})
                    if (fullwidth::IsVoicedPair(b, mark))
                        can = can || WideEquals(fullwidth::Voiced(b, mark), 0, plen);
            } else {
                can = plen == 1 && (FMatchCase ? b : kUpper[b]) == FPat[0];
            }
            if (can) {
                FFirst[b] = 1;
                FFirstByte = b;
                ++FFirstCount;
            }
        }
    }

    // First position in [from, to) holding a byte that can begin a match, or `to`.
    std::size_t NextFirst(std::size_t from, std::size_t to) const {
        if (from >= to || FFirstCount == 0) return to;
        if (FFirstCount == 1) {
            const void* hit = std::memchr(FText + from, FFirstByte, to - from);
            return hit ? static_cast<std::size_t>(static_cast<const uchar*>(hit) - FText) : to;
        }
        std::size_t i = from;
        const std::uint8_t* set = FFirst.data();
        for (; i + 8 <= to; i += 8) {
            const uchar* w = FText + i;
            if (set[w[0]] | set[w[1]] | set[w[2]] | set[w[3]] | set[w[4]] | set[w[5]] | set[w[6]] | set[w[7]])
                break;
        }
        for (; i < to; ++i)
            if (set[FText[i]]) return i;
        return to;
    }

    // Last position in [0, from] holding a byte that can begin a match, or -1.
    std::ptrdiff_t PrevFirst(std::ptrdiff_t from) const {
        const std::uint8_t* set = FFirst.data();
        if (FFirstCount == 0) return -1;
        std::ptrdiff_t i = from;
        for (; i >= 7; i -= 8) {
            const uchar* w = FText + i - 7;
            if (set[w[0]] | set[w[1]] | set[w[2]] | set[w[3]] | set[w[4]] | set[w[5]] | set[w[6]] | set[w[7]])
                break;
        }
        for (; i >= 0; --i)
            if (set[FText[i]]) return i;
        return -1;
    }

    bool ScanForward(std::size_t first, std::size_t last, std::size_t& start, std::size_t& length) {
        for (std::size_t q = first; (q = NextFirst(q, last + 1)) <= last; ++q) {
            if (Accept(q, length)) {
                start = q;
                return true;
            }
        }
        return false;
    }

    bool ScanBackward(std::size_t first, std::size_t& start, std::size_t& length) {
        for (std::ptrdiff_t q = static_cast<std::ptrdiff_t>(first); (q = PrevFirst(q)) >= 0; --q) {
            if (Accept(static_cast<std::size_t>(q), length)) {
                start = static_cast<std::size_t>(q);
                return true;
            }
        }
        return false;
    }

    const uchar* FText;
    std::size_t FSize;
    TByteKindMap FKinds;
    std::string FPattern;
    const uchar* FPat;
    std::size_t FLen;
    bool FMatchCase, FWholeWord, FIgnoreWidth, FIgnoreLineBreaks, FIgnoreSpaces;

    std::vector<TAccept> FAccept;
    std::array<std::uint32_t, 256> FShift{};
    std::array<std::uint32_t, 256> FBackShift{};

    std::array<std::uint8_t, 256> FFirst{};
    int FFirstCount = 0;
    uchar FFirstByte = 0;
};

}  // namespace

bool SearchText(std::string_view text, TSearchPosition& pos, std::string_view pattern, TSearchFlags flags) {
    if (pattern.empty() || text.empty()) return false;
    const std::size_t size = text.size();
    if (pos.Start < 0 || pos.Length < 0 || static_cast<std::size_t>(pos.Start) > size) return false;
    const auto start = static_cast<std::size_t>(pos.Start);
    const auto length = static_cast<std::size_t>(pos.Length);

    std::string prepared = (flags & sfMatchCase) ? std::string(pattern) : UpperCasePattern(pattern);
    if (flags & sfIgnoreWidth) prepared = ToFullWidth(prepared);
    // Fewest text bytes a match can cover: with width folding every pattern character may meet one byte.
    const std::size_t minCover = (flags & sfIgnoreWidth) ? sjis::CharCount(prepared) : prepared.size();
    const std::size_t patternBytes = prepared.size();

    TSearcher searcher(text, std::move(prepared), flags);
    TByteKindMap& kinds = searcher.Kinds();
    std::size_t found = 0, foundLength = 0;
    bool ok;
    if (flags & sfForward) {
        // The search begins after the current match, never on the second byte of a character.
        if (length > size - start) return false;
        std::size_t first = start + length;
        if (kinds.IsTrail(first)) ++first;
        if (first > size || size - first < minCover) return false;
        ok = searcher.Find(true, first, size - minCover, found, foundLength);
    } else {
        // A match may end where the current one begins.
        std::ptrdiff_t first;
        if (!searcher.IgnoreWidth()) {
            first = static_cast<std::ptrdiff_t>(start) - static_cast<std::ptrdiff_t>(patternBytes);
        } else {
            // Step back one text character per pattern character; a voiced half-width pair is one character
            // (the same pairs the comparison joins).
            first = static_cast<std::ptrdiff_t>(start);
            for (std::size_t n = minCover; n > 0 && first >= 0; --n) {
                --first;
                if (first < 0) break;
                const auto p = static_cast<std::size_t>(first);
                if (kinds.IsTrail(p)) {
                    --first;
                } else if (p > 0 && !kinds.IsTrail(p - 1) &&
                           fullwidth::IsVoicedPair(static_cast<uchar>(text[p - 1]),
                                                   static_cast<uchar>(text[p]))) {
                    --first;
                }
            }
        }
        if (first < 0) return false;
        if (kinds.IsTrail(static_cast<std::size_t>(first))) --first;
        ok = searcher.Find(false, static_cast<std::size_t>(first), 0, found, foundLength);
    }
    if (!ok) return false;
    pos.Start = static_cast<std::ptrdiff_t>(found);
    pos.Length = static_cast<std::ptrdiff_t>(foundLength);
    return true;
}
