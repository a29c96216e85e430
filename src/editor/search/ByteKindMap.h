// Kind of each byte of a Shift-JIS text (lead byte, trail byte or single byte), answered where it is asked.
//
// A whole-text map costs a pass over every byte before a search can start. This map finds the kind of a byte
// locally instead: the byte before a run of lead-range bytes always ends a character, and inside such a run
// the bytes pair up from its start. It remembers the last run it walked, so queries that move steadily in one
// direction (as the candidates of a search do) walk every byte at most about once.
#pragma once

#include <cstddef>
#include <string_view>

class TByteKindMap {
public:
    enum TKind { bkSingle, bkLead, bkTrail };

    explicit TByteKindMap(std::string_view text) noexcept : FText(text) {}

    // True when pos (0..size) is the first byte of a character or the end of the text.
    bool IsBoundary(std::size_t pos) noexcept;
    bool IsTrail(std::size_t pos) noexcept { return pos < FText.size() && !IsBoundary(pos); }
    // Kind of the byte at pos (< size). A lead byte that is the last byte of the text stands alone: single.
    TKind Kind(std::size_t pos) noexcept;

private:
    std::string_view FText;
    // [FRunStart, FRunEnd) holds only lead-range bytes and FRunStart is a character boundary.
    std::size_t FRunStart = 0;
    std::size_t FRunEnd = 0;
};
