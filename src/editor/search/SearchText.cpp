#include "editor/search/SearchText.h"

#include <algorithm>
#include <array>
#include <bit>
#include <string>
#include <vector>

#include "editor/search/ByteKindMap.h"
#include "editor/search/FullWidth.h"
#include "text/ShiftJis.h"

#if defined(__SSE2__) && !defined(VELLORIA_SEARCH_SCALAR)
#include <emmintrin.h>
#endif

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

// Bytes that a text may hold at one position of a match (at most two values).
struct TAccept {
    uchar A, B;
    bool Has(uchar c) const { return c == A || c == B; }
};
// One byte test of the candidate filter: the text byte at candidate + Offset must be one of Bytes.
struct TProbe {
    std::uint32_t Offset;
    TAccept Bytes;
};
// Tests that must all hold; the filter passes a position when any of its alternatives does.
struct TAlternative {
    std::array<TProbe, 2> Probes;
    int Count;
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
        if (!FIgnoreWidth && !FIgnoreLineBreaks && !FIgnoreSpaces)
            PrepareContiguousFilter();
        else
            PrepareFirstCharacterFilter();
        return forward ? FilteredForward(first, last, start, length) : FilteredBackward(first, start, length);
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

    // --- Candidate filter. A match can begin only where a few text bytes have certain values: the filter
    // tests those bytes for 16 positions at a time (SSE2 where the compiler offers it) and hands only the
    // positions that pass to Accept. Character boundaries are worked out for those positions alone.

    // Contiguous matches (no width folding, nothing skipped): every pattern byte meets one text byte, so
    // two pattern bytes at fixed distances decide; the rarest-looking two are taken.
    void PrepareContiguousFilter() {
        std::vector<TAccept> accept(FLen);
        for (std::size_t i = 0; i < FLen;) {
            const uchar c = FPat[i];
            if (PatternCharLength(i) == 2) {
                accept[i] = {c, c};
                accept[i + 1] = TrailAccept(c, FPat[i + 1]);
                i += 2;
            } else {
                // Without match case a text letter of either case meets the pattern's capital.
                const bool folds = !FMatchCase && c >= 'A' && c <= 'Z';
                accept[i] = {c, static_cast<uchar>(folds ? c + 0x20 : c)};
                ++i;
            }
        }
        // Bytes that fill most of a Japanese or English text make poor probes.
        const auto rank = [&](std::size_t j) {
            const uchar a = accept[j].A, b = accept[j].B;
            int r = a != b ? 1 : 0;
            if ((a >= 0x81 && a <= 0x83) || a == ' ' || (a >= 'a' && a <= 'z') || (b >= 'a' && b <= 'z'))
                r += 2;
            return r;
        };
        std::size_t p1 = 0;
        for (std::size_t j = 1; j + 1 < FLen; ++j)
            if (rank(j) < rank(p1)) p1 = j;
        std::size_t p2 = p1;
        if (FLen > 1) {
            p2 = FLen - 1;
            for (std::size_t j = FLen - 1; j-- > p1 + 1;)
                if (rank(j) < rank(p2)) p2 = j;
        }
        FAlternatives.clear();
        TAlternative alt{};
        alt.Probes[0] = {static_cast<std::uint32_t>(p1), accept[p1]};
        alt.Count = 1;
        if (p2 != p1) {
            alt.Probes[1] = {static_cast<std::uint32_t>(p2), accept[p2]};
            alt.Count = 2;
        }
        FAlternatives.push_back(alt);
        FMaxOffset = std::max(p1, p2);
    }

    // Text trail bytes that meet the pattern's trail byte after the lead byte `lead`.
    TAccept TrailAccept(uchar lead, uchar trail) const {
        // Without match case a text ａ-ｚ (0x82 0x81-0x9A) meets the pattern's Ａ-Ｚ.
        const bool folds = !FMatchCase && lead == kFullWidthLead && trail >= 0x60 && trail <= 0x79;
        return {trail, static_cast<uchar>(folds ? trail + 0x21 : trail)};
    }

    // Everything else: the text character that meets the pattern's first character decides. It is a
    // double-byte character with the same lead byte, a single byte (with width folding, one whose
    // full-width form is that character), or a voiced half-width pair.
    void PrepareFirstCharacterFilter() {
        FAlternatives.clear();
        FMaxOffset = 0;
        const std::size_t plen = PatternCharLength(0);
        const auto add = [&](TProbe a, const TProbe* b) {
            TAlternative alt{};
            alt.Probes[0] = a;
            alt.Count = 1;
            if (b) {
                alt.Probes[1] = *b;
                alt.Count = 2;
                FMaxOffset = std::max<std::size_t>(FMaxOffset, b->Offset);
            }
            FAlternatives.push_back(alt);
        };
        if (plen == 2) {
            const TProbe trail{1, TrailAccept(FPat[0], FPat[1])};
            add({0, {FPat[0], FPat[0]}}, &trail);
        }
        std::vector<uchar> singles;
        for (int v = 0; v < 256; ++v) {
            const auto b = static_cast<uchar>(v);
            if (sjis::IsLeadByte(b)) {
                // A lead byte alone at the end of the text is a single byte that stays itself.
                if (plen == 1 && b == FPat[0]) singles.push_back(b);
            } else if (FIgnoreWidth) {
                if (WideEquals(fullwidth::Of(b), 0, plen)) singles.push_back(b);
                for (uchar mark : {uchar{0xDE}, uchar{0xDF}}) {
                    if (fullwidth::IsVoicedPair(b, mark) && WideEquals(fullwidth::Voiced(b, mark), 0, plen)) {
                        const TProbe second{1, {mark, mark}};
                        add({0, {b, b}}, &second);
                    }
                }
            } else if (plen == 1 && (FMatchCase ? b : kUpper[b]) == FPat[0]) {
                singles.push_back(b);
            }
        }
        for (std::size_t i = 0; i < singles.size(); i += 2)
            add({0, {singles[i], singles[i + 1 < singles.size() ? i + 1 : i]}}, nullptr);
    }

    // True when position q passes the filter (bytes beyond the text never do).
    bool Passes(std::size_t q) const {
        for (const TAlternative& alt : FAlternatives) {
            bool all = true;
            for (int k = 0; k < alt.Count && all; ++k) {
                const std::size_t at = q + alt.Probes[k].Offset;
                all = at < FSize && alt.Probes[k].Bytes.Has(FText[at]);
            }
            if (all) return true;
        }
        return false;
    }

    // Bit j set when position base + j passes the filter (the portable form of the SSE2 masks below).
    unsigned BlockMask(std::size_t base) const {
        unsigned mask = 0;
        for (unsigned j = 0; j < 16; ++j)
            if (Passes(base + j)) mask |= 1u << j;
        return mask;
    }

#if defined(__SSE2__) && !defined(VELLORIA_SEARCH_SCALAR)
    // The block mask of a filter of N alternatives; an alternative of one probe tests it twice.
    template <int N>
    auto SseMask() const {
        struct TLane {
            const uchar* At[2];
            __m128i A[2], B[2];
        };
        std::array<TLane, N> lanes;
        for (int n = 0; n < N; ++n) {
            const TAlternative& alt = FAlternatives[n];
            for (int k = 0; k < 2; ++k) {
                const TProbe& p = alt.Probes[k < alt.Count ? k : 0];
                lanes[n].At[k] = FText + p.Offset;
                lanes[n].A[k] = _mm_set1_epi8(static_cast<char>(p.Bytes.A));
                lanes[n].B[k] = _mm_set1_epi8(static_cast<char>(p.Bytes.B));
            }
        }
        return [lanes](std::size_t base) -> unsigned {
            __m128i any = _mm_setzero_si128();
            for (int n = 0; n < N; ++n) {
                const TLane& l = lanes[n];
                const __m128i v0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(l.At[0] + base));
                const __m128i v1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(l.At[1] + base));
                const __m128i h0 = _mm_or_si128(_mm_cmpeq_epi8(v0, l.A[0]), _mm_cmpeq_epi8(v0, l.B[0]));
                const __m128i h1 = _mm_or_si128(_mm_cmpeq_epi8(v1, l.A[1]), _mm_cmpeq_epi8(v1, l.B[1]));
                any = _mm_or_si128(any, _mm_and_si128(h0, h1));
            }
            return static_cast<unsigned>(_mm_movemask_epi8(any));
        };
    }
#endif

    // Calls body(mask) with the fastest block-mask function for the filter. With SSE2, filters of up to
    // four alternatives get their constants loaded once, outside the loop, and the tests unrolled.
    template <class TBody>
    bool WithBlockMask(TBody&& body) const {
#if defined(__SSE2__) && !defined(VELLORIA_SEARCH_SCALAR)
        switch (FAlternatives.size()) {
            case 1:
                return body(SseMask<1>());
            case 2:
                return body(SseMask<2>());
            case 3:
                return body(SseMask<3>());
            case 4:
                return body(SseMask<4>());
            default:
                break;
        }
#endif
        return body([this](std::size_t base) { return BlockMask(base); });
    }


    // Blocks of 32 positions (two masks) while they fit, then of 16; q is left at the first position not
    // yet tested.
    template <class TMask>
    bool ForwardBlocks(std::size_t& q, std::size_t last, TMask mask16, std::size_t& start,
                       std::size_t& length) {
        const auto tryBits = [&](std::size_t base, std::uint32_t bits) {
            for (; bits != 0; bits &= bits - 1) {
                const std::size_t c = base + static_cast<unsigned>(std::countr_zero(bits));
                if (Accept(c, length)) {
                    start = c;
                    return true;
                }
            }
            return false;
        };
        while (q + 31 <= last && q + 31 + FMaxOffset < FSize) {
            const std::uint32_t bits = mask16(q) | (mask16(q + 16) << 16);
            if (bits != 0 && tryBits(q, bits)) return true;
            q += 32;
        }
        while (q + 15 <= last && q + 15 + FMaxOffset < FSize) {
            if (tryBits(q, mask16(q))) return true;
            q += 16;
        }
        return false;
    }

    // Blocks that end at q, downwards; q is left at the last position not yet tested.
    template <class TMask>
    bool BackwardBlocks(std::ptrdiff_t& q, TMask mask16, std::size_t& start, std::size_t& length) {
        const auto tryBits = [&](std::size_t base, std::uint32_t bits) {
            while (bits != 0) {
                const unsigned j = 31u - static_cast<unsigned>(std::countl_zero(bits));
                bits &= ~(std::uint32_t{1} << j);
                if (Accept(base + j, length)) {
                    start = base + j;
                    return true;
                }
            }
            return false;
        };
        while (q >= 31) {
            const auto base = static_cast<std::size_t>(q - 31);
            const std::uint32_t bits = mask16(base) | (mask16(base + 16) << 16);
            if (bits != 0 && tryBits(base, bits)) return true;
            q -= 32;
        }
        while (q >= 15) {
            const auto base = static_cast<std::size_t>(q - 15);
            if (tryBits(base, mask16(base))) return true;
            q -= 16;
        }
        return false;
    }

    bool FilteredForward(std::size_t first, std::size_t last, std::size_t& start, std::size_t& length) {
        std::size_t q = first;
        if (WithBlockMask([&](auto mask16) { return ForwardBlocks(q, last, mask16, start, length); }))
            return true;
        for (; q <= last; ++q) {
            if (Passes(q) && Accept(q, length)) {
                start = q;
                return true;
            }
        }
        return false;
    }

    bool FilteredBackward(std::size_t first, std::size_t& start, std::size_t& length) {
        std::ptrdiff_t q = static_cast<std::ptrdiff_t>(first);
        // Near the end of the text a block could read past it: test one position at a time there.
        for (; q >= 0 && static_cast<std::size_t>(q) + FMaxOffset >= FSize; --q) {
            if (Passes(static_cast<std::size_t>(q)) && Accept(static_cast<std::size_t>(q), length)) {
                start = static_cast<std::size_t>(q);
                return true;
            }
        }
        if (WithBlockMask([&](auto mask16) { return BackwardBlocks(q, mask16, start, length); })) return true;
        for (; q >= 0; --q) {
            if (Passes(static_cast<std::size_t>(q)) && Accept(static_cast<std::size_t>(q), length)) {
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

    std::vector<TAlternative> FAlternatives;
    std::size_t FMaxOffset = 0;
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
