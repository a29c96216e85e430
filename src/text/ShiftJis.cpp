#include "text/ShiftJis.h"

namespace sjis {

std::size_t CharLength(std::string_view text, std::size_t pos) noexcept {
    if (pos >= text.size()) return 0;
    return (IsLeadByte(text[pos]) && pos + 1 < text.size()) ? 2 : 1;
}

std::size_t NextCharPos(std::string_view text, std::size_t pos) noexcept {
    if (pos >= text.size()) return text.size();
    return pos + CharLength(text, pos);
}

std::size_t CharStart(std::string_view text, std::size_t pos) noexcept {
    if (pos > text.size()) pos = text.size();
    // Only bytes before pos matter. Walking back over a run of lead-range bytes tells the parity: the run
    // starts at a boundary (the byte before it is not a lead byte, so it ends a character), and inside the
    // run bytes pair up from its start.
    std::size_t i = pos;
    while (i > 0 && IsLeadByte(text[i - 1])) --i;
    std::size_t run = pos - i;  // lead-range bytes directly before pos
    // A lead byte that is the very last byte forms a character alone, so the end is always a boundary.
    return (run % 2 == 1 && pos < text.size()) ? pos - 1 : pos;
}

bool IsCharBoundary(std::string_view text, std::size_t pos) noexcept {
    if (pos > text.size()) return false;
    return CharStart(text, pos) == pos;
}

std::size_t PrevCharPos(std::string_view text, std::size_t pos) noexcept {
    if (pos > text.size()) pos = text.size();
    if (pos == 0) return 0;
    std::size_t start = CharStart(text, pos);
    if (start != pos) return start;  // pos was inside a character: its start is the previous boundary
    return CharStart(text, pos - 1);
}

std::size_t CharCount(std::string_view text) noexcept {
    std::size_t n = 0;
    for (std::size_t i = 0; i < text.size(); i = NextCharPos(text, i)) ++n;
    return n;
}

}  // namespace sjis
