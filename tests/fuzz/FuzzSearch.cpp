// SearchText and the width folding on arbitrary texts, patterns, flags and start positions.
//
// The 16-byte candidate filter (SSE2) and the portable block filter must find the same match; the scalar
// build of the same file is compiled into this program in its own namespace. A match lies inside the text,
// begins and ends on character boundaries and respects the direction (backward, without skipping or
// width folding, it ends where the current match begins at the latest). ToFullWidth keeps character
// boundaries and is idempotent.
#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "editor/search/ByteKindMap.h"
#include "editor/search/FullWidth.h"
#include "editor/search/SearchText.h"
#include "text/ShiftJis.h"

namespace scalar_build {
#define VELLORIA_SEARCH_SCALAR 1
#include "../../src/editor/search/SearchText.cpp"
#undef VELLORIA_SEARCH_SCALAR
}  // namespace scalar_build

#include "fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 6) return 0;
    const TSearchFlags flags = static_cast<TSearchFlags>(data[0] | (data[1] << 8));
    const std::size_t patternLength = std::min<std::size_t>(data[2] % 32, size - 6);
    const std::string_view pattern(reinterpret_cast<const char*>(data) + 6, patternLength);
    const std::string_view text(reinterpret_cast<const char*>(data) + 6 + patternLength,
                                size - 6 - patternLength);
    // The editor's selections never split a two-byte character: nor do the start positions here.
    TSearchPosition start;
    const std::size_t first = sjis::CharStart(text, text.empty() ? 0 : data[3] % (text.size() + 1));
    const std::size_t last =
        sjis::CharStart(text, first + (data[4] | (data[5] << 8)) % (text.size() - first + 1));
    start.Start = static_cast<std::ptrdiff_t>(first);
    start.Length = static_cast<std::ptrdiff_t>(last - first);

    TSearchPosition fast = start, plain = start;
    const bool foundFast = SearchText(text, fast, pattern, flags);
    const bool foundPlain = scalar_build::SearchText(text, plain, pattern, flags);
    FUZZ_CHECK(foundFast == foundPlain);
    FUZZ_CHECK(fast.Start == plain.Start && fast.Length == plain.Length);
    if (foundFast) {
        FUZZ_CHECK(fast.Start >= 0 && fast.Length > 0);
        FUZZ_CHECK(static_cast<std::size_t>(fast.Start + fast.Length) <= text.size());
        FUZZ_CHECK(sjis::IsCharBoundary(text, static_cast<std::size_t>(fast.Start)));
        FUZZ_CHECK(sjis::IsCharBoundary(text, static_cast<std::size_t>(fast.Start + fast.Length)));
        if (flags & sfForward)
            FUZZ_CHECK(fast.Start >= start.Start + start.Length);
        else if (flags & (sfIgnoreWidth | sfIgnoreLineBreaks | sfIgnoreSpaces))
            FUZZ_CHECK(fast.Start < start.Start);  // a candidate starts before; skipped bytes may reach past
        else
            FUZZ_CHECK(fast.Start + fast.Length <= start.Start);
    } else {
        FUZZ_CHECK(fast.Start == start.Start && fast.Length == start.Length);
    }

    const std::string wide = ToFullWidth(text);
    FUZZ_CHECK(ToFullWidth(wide) == wide);
    for (std::size_t p = 0; p < wide.size(); p = sjis::NextCharPos(wide, p))
        FUZZ_CHECK(sjis::CharLength(wide, p) == 2 || !sjis::IsLeadByte(wide[p]) || p + 1 == wide.size());
    return 0;
}
