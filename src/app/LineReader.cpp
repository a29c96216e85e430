#include "app/LineReader.h"

#include <algorithm>
#include <cerrno>

#include <cstdint>

#if defined(__SSE2__) || defined(_M_X64) || defined(_M_AMD64)
#include <immintrin.h>
#define VEL_LINEREADER_SSE2 1
#if defined(__GNUC__) && defined(__x86_64__)
#define VEL_LINEREADER_AVX2 1  // chosen at run time when the processor has it
#endif
#endif
#if defined(_MSC_VER)
#include <intrin.h>
#endif

namespace {

int CountTrailingZeros(std::uint32_t x) {
#if defined(_MSC_VER)
    unsigned long i;
    _BitScanForward(&i, x);
    return static_cast<int>(i);
#else
    return __builtin_ctz(x);
#endif
}

// The first byte at or after s that is '#' or where the plain CR LF structure breaks: a NUL, an LF that
// does not follow a CR, or the byte after a CR that is not LF. s is the start of a line. The readers look at
// every byte of a file through this, so it takes 16 or 32 bytes a step where the processor can.
const char* FindHashOrIrregularScalar(const char* p, const char* end, unsigned carry) {
    for (; p < end; ++p) {
        char c = *p;
        if (c == '#' || c == '\0' || (c == '\n') != (carry == 1)) return p;
        carry = c == '\r';
    }
    return p;
}

#if VEL_LINEREADER_SSE2
// A mapped file is read straight from memory; the processor's own prefetching stops at page borders, so
// the scan asks for the data a page ahead, once per cache line.
constexpr std::ptrdiff_t kPrefetchAhead = 4096;

const char* FindHashOrIrregularSse2(const char* s, const char* end) {
    unsigned carry = 0;  // the byte before was CR
    const char* p = s;
    const __m128i hash = _mm_set1_epi8('#'), cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n'),
                  zero = _mm_setzero_si128();
    for (; end - p >= 16; p += 16) {
        if ((reinterpret_cast<std::uintptr_t>(p) & 63) < 16) _mm_prefetch(p + kPrefetchAhead, _MM_HINT_T0);
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        unsigned mcr = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, cr)));
        unsigned mlf = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, lf)));
        unsigned mstop = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, hash), _mm_cmpeq_epi8(v, zero))));
        unsigned stop = mstop | (mlf ^ (((mcr << 1) | carry) & 0xFFFFu));
        if (stop) return p + CountTrailingZeros(stop);
        carry = mcr >> 15;
    }
    return FindHashOrIrregularScalar(p, end, carry);
}
#endif

#if VEL_LINEREADER_AVX2
__attribute__((target("avx2"))) const char* FindHashOrIrregularAvx2(const char* s, const char* end) {
    unsigned carry = 0;
    const char* p = s;
    const __m256i hash = _mm256_set1_epi8('#'), cr = _mm256_set1_epi8('\r'), lf = _mm256_set1_epi8('\n'),
                  zero = _mm256_setzero_si256();
    for (; end - p >= 32; p += 32) {
        if ((reinterpret_cast<std::uintptr_t>(p) & 63) < 32) _mm_prefetch(p + kPrefetchAhead, _MM_HINT_T0);
        __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
        auto mcr = static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(v, cr)));
        auto mlf = static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(v, lf)));
        auto mstop = static_cast<std::uint32_t>(
            _mm256_movemask_epi8(_mm256_or_si256(_mm256_cmpeq_epi8(v, hash), _mm256_cmpeq_epi8(v, zero))));
        std::uint32_t stop = mstop | (mlf ^ ((mcr << 1) | carry));
        if (stop) return p + CountTrailingZeros(stop);
        carry = mcr >> 31;
    }
    return FindHashOrIrregularScalar(p, end, carry);
}
#endif

// The first CR, LF or NUL at or after s (end when there is none).
const char* FindBreakOrNulScalar(const char* p, const char* end) {
    while (p < end && *p != '\r' && *p != '\n' && *p != '\0') ++p;
    return p;
}

#if VEL_LINEREADER_SSE2
const char* FindBreakOrNulSse2(const char* p, const char* end) {
    const __m128i cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n'), zero = _mm_setzero_si128();
    for (; end - p >= 16; p += 16) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        __m128i hit =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)), _mm_cmpeq_epi8(v, zero));
        if (auto m = static_cast<std::uint32_t>(_mm_movemask_epi8(hit))) return p + CountTrailingZeros(m);
    }
    return FindBreakOrNulScalar(p, end);
}
#endif

#if VEL_LINEREADER_AVX2
__attribute__((target("avx2"))) const char* FindBreakOrNulAvx2(const char* p, const char* end) {
    const __m256i cr = _mm256_set1_epi8('\r'), lf = _mm256_set1_epi8('\n'), zero = _mm256_setzero_si256();
    for (; end - p >= 32; p += 32) {
        __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
        __m256i hit = _mm256_or_si256(_mm256_or_si256(_mm256_cmpeq_epi8(v, cr), _mm256_cmpeq_epi8(v, lf)),
                                      _mm256_cmpeq_epi8(v, zero));
        if (auto m = static_cast<std::uint32_t>(_mm256_movemask_epi8(hit))) return p + CountTrailingZeros(m);
    }
    return FindBreakOrNulSse2(p, end);
}
#endif

#if VEL_LINEREADER_AVX2
const bool kHaveAvx2 = __builtin_cpu_supports("avx2");
#endif

const char* FindBreakOrNul(const char* s, const char* end) {
#if VEL_LINEREADER_AVX2
    if (kHaveAvx2) return FindBreakOrNulAvx2(s, end);
#endif
#if VEL_LINEREADER_SSE2
    return FindBreakOrNulSse2(s, end);
#else
    return FindBreakOrNulScalar(s, end);
#endif
}

const char* FindHashOrIrregular(const char* s, const char* end) {
#if VEL_LINEREADER_AVX2
    if (kHaveAvx2) return FindHashOrIrregularAvx2(s, end);
#endif
#if VEL_LINEREADER_SSE2
    return FindHashOrIrregularSse2(s, end);
#else
    return FindHashOrIrregularScalar(s, end, 0);
#endif
}

}  // namespace

TLineReader::TLineReader(std::FILE* f, std::size_t blockSize) : FFile(f), FMap(f, MapThreshold) {
    if (FMap.Data()) {
        // The whole file is one region; only the end-of-file mark needs taking off.
        FData = FMap.Data();
        FEnd = FMap.Size();
        while (FEnd > 0 && FData[FEnd - 1] == '\x1A') --FEnd;
        FRegionEnd = FEnd;
        FEof = true;
    } else {
        FBuf.resize(std::max<std::size_t>(blockSize, 16));
        FData = FBuf.data();
    }
}

void TLineReader::ReleaseBehind() {
    // Read pages of a mapping count as the process's memory until they are given back.
    if (FPos - FReleased >= (std::size_t{8} << 20)) {
        FMap.Release(FPos);
        FReleased = FPos;
    }
}

bool TLineReader::Refill() {
    if (FMap.Data()) return false;  // a mapping holds the whole file from the start
    // Keep the incomplete tail, then read until the buffer holds at least one complete line or the file
    // ends. A line longer than the buffer makes it grow.
    std::size_t tail = FEnd - FPos;
    if (tail && FPos) std::memmove(FBuf.data(), FData + FPos, tail);
    FBase += static_cast<long long>(FPos);
    FPos = 0;
    FEnd = tail;
    FRegionEnd = 0;
    // Each round looks only at the bytes it has not looked at before, so that a line far longer than the
    // buffer costs time in proportion to its length: [0, lfScanned) holds no LF (the tail came after the
    // last LF of the previous region), [0, crScanned) was searched for CR, and lastCr is the end of the
    // last CR found there (0: none).
    std::size_t lfScanned = tail, crScanned = 0, lastCr = 0;
    for (;;) {
        if (!FEof) {
            if (FEnd == FBuf.size()) FBuf.resize(FBuf.size() * 2);
            FData = FBuf.data();
            errno = 0;
            std::size_t got = std::fread(FBuf.data() + FEnd, 1, FBuf.size() - FEnd, FFile);
            FEnd += got;
            if (got == 0 || std::feof(FFile) || std::ferror(FFile)) {
                if (std::ferror(FFile)) {
                    FFailed = true;
                    FError = errno ? std::strerror(errno) : "read error";
                    FEof = true;
                    return false;
                }
                if (got == 0 || std::feof(FFile)) FEof = true;
            }
            if (FEof)
                while (FEnd > 0 && FData[FEnd - 1] == '\x1A') --FEnd;
        }
        if (FEof) {
            FRegionEnd = FEnd;
            return FEnd > 0;
        }
        // The region ends after the last LF; without one, after the last CR that cannot be the first half
        // of a CR LF still to come.
        std::size_t end = FEnd;
        while (end > lfScanned && FData[end - 1] != '\n') --end;
        if (end > lfScanned) {
            FRegionEnd = end;
            return true;
        }
        lfScanned = FEnd;
        const std::size_t crLimit = FEnd - 1;  // FEnd > 0: the file has not ended
        for (std::size_t p = crLimit; p > crScanned; --p)
            if (FData[p - 1] == '\r') {
                lastCr = p;
                break;
            }
        crScanned = std::max(crScanned, crLimit);
        if (lastCr > 0) {
            FRegionEnd = lastCr;
            return true;
        }
    }
}

std::string_view TLineReader::SkipPlainLines() {
    if (FPos >= FRegionEnd) return {};
    const char* s = FData + FPos;
    const char* end = FData + FRegionEnd;
    const char* stop = FindHashOrIrregular(s, end);
    while (stop > s && stop[-1] != '\n') --stop;  // back to the start of that line
    FPos = stop - FData;
    if (FMap.Data()) ReleaseBehind();
    return std::string_view(s, stop - s);
}

long TLineReader::LineNumberAt(std::FILE* f, long long offset) {
    if (std::fseek(f, 0, SEEK_SET) != 0) return 0;
    TLineReader again(f);  // blocks of BlockSize: a small file costs no large buffer
    TLine line;
    long number = 0;
    while (again.Next(line) && line.Offset <= offset) number = line.Number;
    return number ? number : 1;
}

bool TLineReader::NextLine(TLine& line, const char* s, const char* end) {
    const char* p = FindBreakOrNul(s, end);
    const bool nul = p < end && *p == '\0';
    while (p < end && *p != '\r' && *p != '\n') ++p;  // past NUL bytes to the line break
    const char* e = p;
    if (p == end) {
        FPos = end - FData;
    } else if (*p == '\r' && p + 1 < end && p[1] == '\n') {
        line.Crlf = true;
        FPos = (p + 2) - FData;
    } else {
        FPos = (p + 1) - FData;  // a lone CR or LF
    }
    if (nul) {
        FCleaned.clear();
        for (const char* q = s; q < e; ++q)
            if (*q != '\0') FCleaned.push_back(*q);
        line.Text = FCleaned;
        line.Clean = false;
        FDroppedNul = true;
    } else {
        line.Text = std::string_view(s, e - s);
    }
    if (FMap.Data()) ReleaseBehind();
    return true;
}
