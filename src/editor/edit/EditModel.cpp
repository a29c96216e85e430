// TEditModel: offsets, the selection's text and the edits that replace it.
#include "editor/edit/EditModel.h"

#include <algorithm>
#include <utility>

#include "editor/rows/EditorScreenStrings.h"

namespace {

const std::string_view kCrLf = "\r\n";

// The characters a text takes once in the rows: every line break (CR LF, a lone CR, a lone LF) is stored
// as a row end and counts 2.
std::int64_t StoredLength(std::string_view text) {
    std::int64_t length = static_cast<std::int64_t>(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
        } else if (text[i] == '\r' || text[i] == '\n') {
            ++length;
        }
    }
    return length;
}

}  // namespace

TEditModel::TEditModel(TEditorScreenStrings& rows, const TEditorCaret& caret, const TDelimiters& delimiters,
                       TEditView& view)
    : FRows(&rows), FCaret(&caret), FView(&view), FColumns(rows, delimiters, caret), FOffsets(FColumns) {}

int TEditModel::LineCount() const {
    return FRows->Count();
}

// ---- Offsets
// -----------------------------------------------------------------------------------------------

std::int64_t TEditModel::SelStart() const {
    if (SelAvail()) return PositionToOffset(FSelBytes.firstRow, FSelBytes.firstByte);
    return PositionToOffset(FRow, CaretByte());
}

void TEditModel::SetSelStart(std::int64_t offset) {
    CleanSelection();
    const TRowCol at = offset > 0 ? FOffsets.OffsetToRowCol(0, offset) : TRowCol{};
    SetRow(at.row);
    SetCol(at.col);
}

std::int64_t TEditModel::SelLength() const {
    if (!SelAvail()) return 0;
    const TSelectionBytes& s = FSelBytes;
    if (s.firstRow == s.lastRow) return s.lastByte - s.firstByte + 1;
    const int n = LineCount();
    if (FBoxSelectMode) {
        std::int64_t length = 0;
        for (int r = s.firstRow; r <= s.lastRow && r < n; ++r) length += BoxRowBytes(r).Length() + 2;
        return length;
    }
    // The rest of the first row, the rows in between with their line breaks, the last row up to its last
    // selected byte (its own line break is not selected).
    const int lastRow = std::min(s.lastRow, n);
    return FOffsets.OffsetBetween(s.firstRow, lastRow) - s.firstByte + s.lastByte + 1;
}

void TEditModel::SetSelLength(std::int64_t count) {
    if (LineCount() == 0) return;
    SetBoxSelectMode(false);
    if (count > 0) {
        TCaretHidden caret(*FView);
        if (SelAvail()) SetRowCol(FSelCols.top, FSelCols.left);
        BeginSelection();
        const TRowCol to = FOffsets.OffsetToRowCol(FRow, CaretByte() + count);
        SetRow(to.row);
        SetCol(to.col);
        ExtendSelection();
    } else if (SelAvail()) {
        const int row = FSelCols.top;
        const int col = FSelCols.left;
        CancelSelection();
        SetRowCol(row, col);
    }
}

std::string TEditModel::SelText() const {
    if (!SelAvail()) return std::string();
    const TSelectionBytes& s = FSelBytes;
    const int n = LineCount();
    const auto bytes = [&](int row, int from, int end) {
        const std::string_view text = FColumns.Text(row);
        const int size = static_cast<int>(text.size());
        from = std::clamp(from, 0, size);
        end = std::clamp(end, from, size);
        return text.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(end - from));
    };
    if (s.firstRow == s.lastRow) return std::string(bytes(s.firstRow, s.firstByte, s.lastByte + 1));
    std::string out;
    if (FBoxSelectMode) {
        for (int r = s.firstRow; r <= s.lastRow && r < n; ++r) {
            const TByteSpan span = BoxRowBytes(r);
            out += bytes(r, span.first, span.end);
            out += kCrLf;
        }
        return out;
    }
    for (int r = s.firstRow; r <= s.lastRow && r < n; ++r) {
        const int from = r == s.firstRow ? s.firstByte : 0;
        if (r == s.lastRow) {
            out += bytes(r, from, s.lastByte + 1);
            break;
        }
        out += bytes(r, from, static_cast<int>(FColumns.Text(r).size()));
        if (FColumns.End(r) == reLineBreak) out += kCrLf;
    }
    return out;
}

void TEditModel::SetSelText(std::string_view text) {
    if (FReadOnly) return;
    if (SelAvail()) {
        ReplaceSelectionBy(text);
    } else if (!text.empty()) {
        InsertText(text);
    }
}

// ---- Edits
// ---------------------------------------------------------------------------------------------------

int TEditModel::CaretBaseRow(int row) const {
    // Re-wrapping a changed row can move the cut between it and the row above only when that row is
    // wrapped; every row above stays as it is.
    return row > 0 && FColumns.End(row - 1) == reWrapped ? row - 1 : std::max(0, row);
}

void TEditModel::ReplaceSelectionBy(std::string_view insert) {
    const int n = LineCount();
    if (!SelAvail() || n == 0) return;
    const TSelectionBytes s = FSelBytes;
    if (s.firstRow >= n) {
        // The selection lies on the empty row after the final line break, where there is nothing to
        // select: the text goes after the last line, which stays as it is.
        TCaretHidden caret(*FView);
        CancelSelection();
        FRows->ReplaceRows(n, 0, insert);
        MoveCaretToOffset(n, StoredLength(insert));
        return;
    }
    const int first = s.firstRow;
    int last = s.lastRow;
    std::string block;
    int insertAt = 0;  // byte index in the first row where the inserted text goes
    if (FBoxSelectMode && s.firstRow != s.lastRow) {
        // Every row of the box loses its part and keeps its end; the text goes to the top row.
        last = std::min(last, n - 1);
        for (int r = first; r <= last; ++r) {
            const TByteSpan span = BoxRowBytes(r);
            const std::string_view text = FColumns.Text(r);
            if (r == first) insertAt = span.first;
            block.append(text.substr(0, static_cast<std::size_t>(span.first)));
            if (r == first) block.append(insert);
            block.append(text.substr(static_cast<std::size_t>(span.end)));
            if (FColumns.End(r) == reLineBreak) block += kCrLf;
        }
    } else {
        const std::string_view head = FColumns.Text(first);
        insertAt = std::clamp(s.firstByte, 0, static_cast<int>(head.size()));
        block.append(head.substr(0, static_cast<std::size_t>(insertAt)));
        block.append(insert);
        if (last >= n) {
            // The selection takes the final line break: nothing follows it.
            last = n - 1;
        } else {
            const std::string_view tail = FColumns.Text(last);
            const int after = std::clamp(s.lastByte + 1, 0, static_cast<int>(tail.size()));
            block.append(tail.substr(static_cast<std::size_t>(after)));
            if (FColumns.End(last) == reLineBreak) block += kCrLf;
        }
    }
    // The caret's target as an offset from a row that the re-wrap cannot move.
    const int base = CaretBaseRow(first);
    const std::int64_t offset = FOffsets.OffsetBetween(base, first) + insertAt + StoredLength(insert);

    TCaretHidden caret(*FView);
    TUnderlineHidden underline(*FView, last > first);
    CancelSelection();
    FRows->ReplaceRows(first, last - first + 1, std::move(block));
    MoveCaretToOffset(base, offset);
}

void TEditModel::DeleteSelection() {
    if (SelAvail()) ReplaceSelectionBy(std::string_view());
}

void TEditModel::InsertText(std::string_view text) {
    if (SelAvail()) {
        ReplaceSelectionBy(text);
        return;
    }
    if (text.empty()) return;
    TCaretHidden caret(*FView);
    CleanSelection();
    const int n = LineCount();
    const int row = std::clamp(FRow, 0, n);
    // A caret right of the row's end (free caret) types after spaces up to it.
    const int width = FColumns.Width(row);
    const int pad = FCol > width ? FCol - width : 0;
    if (row >= n) {
        // The empty row after a final line break (or an empty text): the text becomes the new last line.
        std::string line(static_cast<std::size_t>(pad), ' ');
        line.append(text);
        FRows->ReplaceRows(n, 0, line);
        MoveCaretToOffset(n, StoredLength(line));
        return;
    }
    const std::string_view line = FColumns.Text(row);
    const int at = FColumns.ColumnToByte(row, FCol);
    if (FOverwriteMode && pad == 0 && at < static_cast<int>(line.size())) {
        OverwriteText(text);
        return;
    }
    std::string block(line.substr(0, static_cast<std::size_t>(at)));
    block.append(static_cast<std::size_t>(pad), ' ');
    block.append(text);
    block.append(line.substr(static_cast<std::size_t>(at)));
    if (FColumns.End(row) == reLineBreak) block += kCrLf;
    const int base = CaretBaseRow(row);
    const std::int64_t offset = FOffsets.OffsetBetween(base, row) + at + pad + StoredLength(text);
    FRows->ReplaceRows(row, 1, std::move(block));
    MoveCaretToOffset(base, offset);
}

void TEditModel::SelectAll() {
    TCaretHidden caret(*FView);
    SetSelStart(0);
    SetSelLength(TextLength());
}
