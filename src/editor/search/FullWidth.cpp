#include "editor/search/FullWidth.h"

#include <array>

#include "text/ShiftJis.h"

namespace fullwidth {
namespace {

// JIS X 0208 codes of the full-width forms of ASCII 0x20-0x7E. The double quote, apostrophe, backslash, grave
// accent and tilde take the forms the code page has always used for them: right double quotation mark, right
// single quotation mark, yen sign, grave accent and overline.
constexpr std::uint16_t kAsciiJis[0x7F - 0x20] = {
    0x2121, 0x212A, 0x2149, 0x2174, 0x2170, 0x2173, 0x2175, 0x2147,  //   ! " # $ % & '
    0x214A, 0x214B, 0x2176, 0x215C, 0x2124, 0x215D, 0x2125, 0x213F,  // ( ) * + , - . /
    0x2330, 0x2331, 0x2332, 0x2333, 0x2334, 0x2335, 0x2336, 0x2337,  // 0-7
    0x2338, 0x2339, 0x2127, 0x2128, 0x2163, 0x2161, 0x2164, 0x2129,  // 8 9 : ; < = > ?
    0x2177, 0x2341, 0x2342, 0x2343, 0x2344, 0x2345, 0x2346, 0x2347,  // @ A-G
    0x2348, 0x2349, 0x234A, 0x234B, 0x234C, 0x234D, 0x234E, 0x234F,  // H-O
    0x2350, 0x2351, 0x2352, 0x2353, 0x2354, 0x2355, 0x2356, 0x2357,  // P-W
    0x2358, 0x2359, 0x235A, 0x214E, 0x216F, 0x214F, 0x2130, 0x2132,  // X Y Z [ \ ] ^ _
    0x212E, 0x2361, 0x2362, 0x2363, 0x2364, 0x2365, 0x2366, 0x2367,  // ` a-g
    0x2368, 0x2369, 0x236A, 0x236B, 0x236C, 0x236D, 0x236E, 0x236F,  // h-o
    0x2370, 0x2371, 0x2372, 0x2373, 0x2374, 0x2375, 0x2376, 0x2377,  // p-w
    0x2378, 0x2379, 0x237A, 0x2150, 0x2143, 0x2151, 0x2131,          // x y z { | } ~
};

// JIS X 0208 codes of the half-width katakana block 0xA1-0xDF: the ideographic full stop, the corner
// brackets, the ideographic comma, the middle dot, the katakana of the same sound (row 0x25), the long-vowel
// mark and the two voicing marks.
constexpr std::uint16_t kKanaJis[0xE0 - 0xA1] = {
    0x2123, 0x2156, 0x2157, 0x2122, 0x2126,                          // A1-A5 。「」、・
    0x2572, 0x2521, 0x2523, 0x2525, 0x2527, 0x2529, 0x2563, 0x2565,  // A6-AD ヲァィゥェォャュ
    0x2567, 0x2543, 0x213C, 0x2522, 0x2524, 0x2526, 0x2528, 0x252A,  // AE-B5 ョッーアイウエオ
    0x252B, 0x252D, 0x252F, 0x2531, 0x2533, 0x2535, 0x2537, 0x2539,  // B6-BD カキクケコサシス
    0x253B, 0x253D, 0x253F, 0x2541, 0x2544, 0x2546, 0x2548, 0x254A,  // BE-C5 セソタチツテトナ
    0x254B, 0x254C, 0x254D, 0x254E, 0x254F, 0x2552, 0x2555, 0x2558,  // C6-CD ニヌネノハヒフヘ
    0x255B, 0x255E, 0x255F, 0x2560, 0x2561, 0x2562, 0x2564, 0x2566,  // CE-D5 ホマミムメモヤユ
    0x2568, 0x2569, 0x256A, 0x256B, 0x256C, 0x256D, 0x256F, 0x2573,  // D6-DD ヨラリルレロワン
    0x212B, 0x212C,                                                  // DE-DF ゛゜
};

constexpr std::uint16_t kJisVu = 0x2574;  // ヴ

constexpr TWide Wide(std::uint16_t jis) {
    const std::uint16_t s = JisToShiftJis(jis);
    return TWide{2, {static_cast<std::uint8_t>(s >> 8), static_cast<std::uint8_t>(s & 0xFF)}};
}

constexpr std::array<TWide, 256> BuildTable() {
    std::array<TWide, 256> table{};
    for (int c = 0; c < 256; ++c) table[c] = TWide{1, {static_cast<std::uint8_t>(c), 0}};
    for (int c = 0x20; c <= 0x7E; ++c) table[c] = Wide(kAsciiJis[c - 0x20]);
    for (int c = 0xA1; c <= 0xDF; ++c) table[c] = Wide(kKanaJis[c - 0xA1]);
    return table;
}

// Built by the compiler: one table per process, never per call.
constexpr std::array<TWide, 256> kTable = BuildTable();

constexpr bool TakesDakuten(unsigned char c) {
    return c == 0xB3 || (c >= 0xB6 && c <= 0xC4) || (c >= 0xCA && c <= 0xCE);
}
constexpr bool TakesHandakuten(unsigned char c) {
    return c >= 0xCA && c <= 0xCE;
}

}  // namespace

const TWide& Of(unsigned char c) noexcept {
    return kTable[c];
}

bool IsVoicedPair(unsigned char kana, unsigned char mark) noexcept {
    // ｶ-ﾄ with the handakuten is no pair: the +2 step of the katakana row would give the next kana (ｶﾟ is not
    // キ), so such a mark stays a character of its own.
    if (mark == 0xDE) return TakesDakuten(kana);
    if (mark == 0xDF) return TakesHandakuten(kana);
    return false;
}

TWide Voiced(unsigned char kana, unsigned char mark) noexcept {
    if (kana == 0xB3) return Wide(kJisVu);  // ヴ lies apart from ウ in the katakana row
    // Voiced forms follow their base kana in the row: +1 for the dakuten, +2 for the handakuten.
    return Wide(static_cast<std::uint16_t>(kKanaJis[kana - 0xA1] + (mark == 0xDE ? 1 : 2)));
}

}  // namespace fullwidth

std::string ToFullWidth(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (sjis::CharLength(text, i) == 2) {
            out.append(text.substr(i, 2));
            i += 2;
            continue;
        }
        if (i + 1 < text.size() && fullwidth::IsVoicedPair(c, static_cast<unsigned char>(text[i + 1]))) {
            const fullwidth::TWide w = fullwidth::Voiced(c, static_cast<unsigned char>(text[i + 1]));
            out.append(reinterpret_cast<const char*>(w.Bytes), w.Size);
            i += 2;
            continue;
        }
        const fullwidth::TWide& w = fullwidth::Of(c);
        out.append(reinterpret_cast<const char*>(w.Bytes), w.Size);
        ++i;
    }
    return out;
}
