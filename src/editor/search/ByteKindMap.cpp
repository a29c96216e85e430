#include "editor/search/ByteKindMap.h"

#include "text/ShiftJis.h"

bool TByteKindMap::IsBoundary(std::size_t pos) noexcept {
    if (pos >= FText.size()) return true;  // a lead byte at the very end forms a character alone
    if (pos < FRunStart || pos > FRunEnd) {
        // Walk back over lead-range bytes. Reaching the end of the remembered run means the run extends to
        // pos; stopping at any other byte means that byte ends a character (a single byte or a trail byte).
        const std::size_t floor = pos > FRunEnd ? FRunEnd : 0;
        std::size_t i = pos;
        while (i > floor && sjis::IsLeadByte(FText[i - 1])) --i;
        if (!(i == FRunEnd && pos > FRunEnd)) FRunStart = i;
        FRunEnd = pos;
    }
    return (pos - FRunStart) % 2 == 0;
}

TByteKindMap::TKind TByteKindMap::Kind(std::size_t pos) noexcept {
    if (!IsBoundary(pos)) return bkTrail;
    return (sjis::IsLeadByte(FText[pos]) && pos + 1 < FText.size()) ? bkLead : bkSingle;
}
