// The Shift-JIS byte rules and the codec on arbitrary bytes.
//
// Byte rules: character boundaries found by walking forward agree with CharStart, PrevCharPos and
// IsCharBoundary at every position. Codec: decoding never fails; every character that decodes from a code
// encodes to a code that decodes to the same character (the shared NEC/IBM codes encode to one of them);
// text that decoded without U+FFFD encodes back to bytes that decode to the same Unicode text.
#include <QString>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "text/ShiftJis.h"
#include "text/SjisCodec.h"

#include "fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    std::vector<bool> boundary(size + 1, false);
    std::size_t count = 0;
    for (std::size_t p = 0; p < size; p = sjis::NextCharPos(text, p)) {
        boundary[p] = true;
        ++count;
        const std::size_t n = sjis::CharLength(text, p);
        FUZZ_CHECK(n == 1 || n == 2);
        FUZZ_CHECK(n == 1 || sjis::IsLeadByte(text[p]));
    }
    boundary[size] = true;
    FUZZ_CHECK(sjis::CharCount(text) == count);
    std::size_t lastStart = 0;
    for (std::size_t p = 0; p <= size; ++p) {
        FUZZ_CHECK(sjis::IsCharBoundary(text, p) == boundary[p]);
        const std::size_t start = sjis::CharStart(text, p);
        FUZZ_CHECK(start <= p && boundary[start] && (p - start) <= 1);
        if (p > 0 && boundary[p]) FUZZ_CHECK(sjis::PrevCharPos(text, p) == lastStart);
        if (p < size && boundary[p]) lastStart = p;
    }

    const QString unicode = SjisCodec::ToUnicode(text);
    for (std::size_t p = 0; p < size; p = sjis::NextCharPos(text, p)) {
        const unsigned code = sjis::CharLength(text, p) == 2
                                  ? (unsigned{static_cast<unsigned char>(text[p])} << 8) |
                                        static_cast<unsigned char>(text[p + 1])
                                  : static_cast<unsigned char>(text[p]);
        const char16_t ch = SjisCodec::Decode(code);
        if (ch == SjisCodec::kNoChar) continue;
        const int back = SjisCodec::Encode(ch);
        FUZZ_CHECK(back >= 0 && SjisCodec::Decode(static_cast<unsigned>(back)) == ch);
    }
    if (!unicode.contains(QChar(0xFFFD))) {
        const std::string bytes = SjisCodec::FromUnicode(unicode);
        FUZZ_CHECK(SjisCodec::ToUnicode(bytes) == unicode);
    }
    return 0;
}
