// TEditModel: box paste, the lines of a text put into the rows one below the other at the same column.
#include <algorithm>
#include <vector>

#include "editor/edit/EditModel.h"
#include "editor/rows/EditorScreenStrings.h"

namespace {

// The lines of a text; CR LF, a lone CR and a lone LF end a line. A final line break ends the last line
// (the box text of a copy ends every row with one).
std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

// One row of the block being rebuilt: its bytes, its end, and where a line goes into it.
struct TBoxRow {
    std::string bytes;
    TRowEnd end = reLineBreak;
    std::size_t insertAt = 0;
    int pad = 0;  // spaces put before the line (the row is shorter than the box's column)
};

}  // namespace

void TEditModel::BoxPaste(std::string_view text) {
    if (FReadOnly) return;
    const std::vector<std::string_view> lines = SplitLines(text);
    if (lines.empty()) {
        DeleteSelection();
        return;
    }
    const int n = LineCount();
    std::vector<TBoxRow> block;
    int startRow = FRow;
    int startCol = FCol;
    int nextRow = FRow;  // the next document row not yet used
    std::size_t rebuilt = 0;  // rows of the block that came from the selection
    if (SelAvail() && FSelBytes.firstRow < n) {
        const TSelectionBytes s = FSelBytes;
        startRow = s.firstRow;
        startCol = FSelCols.left;
        const int last = std::min(s.lastRow, n - 1);
        if (FBoxSelectMode && s.firstRow != s.lastRow) {
            for (int r = s.firstRow; r <= last; ++r) {
                const TByteSpan span = BoxRowBytes(r);
                const std::string_view t = FColumns.Text(r);
                TBoxRow row;
                row.bytes.append(t.substr(0, static_cast<std::size_t>(span.first)));
                row.bytes.append(t.substr(static_cast<std::size_t>(span.end)));
                row.end = FColumns.End(r);
                row.insertAt = static_cast<std::size_t>(span.first);
                if (span.first >= static_cast<int>(t.size())) row.pad = std::max(0, startCol - FColumns.Width(r));
                block.push_back(std::move(row));
            }
        } else {
            const std::string_view head = FColumns.Text(s.firstRow);
            TBoxRow row;
            row.insertAt = static_cast<std::size_t>(std::clamp(s.firstByte, 0, static_cast<int>(head.size())));
            row.bytes.append(head.substr(0, row.insertAt));
            if (s.lastRow >= n) {
                row.end = FColumns.End(n - 1);
            } else {
                const std::string_view tail = FColumns.Text(s.lastRow);
                const int after = std::clamp(s.lastByte + 1, 0, static_cast<int>(tail.size()));
                row.bytes.append(tail.substr(static_cast<std::size_t>(after)));
                row.end = FColumns.End(s.lastRow);
            }
            block.push_back(std::move(row));
        }
        rebuilt = block.size();
        nextRow = last + 1;
    }
    startRow = std::clamp(startRow, 0, n);
    nextRow = std::max(nextRow, startRow);

    for (std::size_t i = rebuilt; i < lines.size(); ++i) {
        TBoxRow row;
        if (nextRow < n) {
            // The line goes in at the box's left edge: never into a two-byte character or a TAB.
            row.bytes = std::string(FColumns.Text(nextRow));
            row.end = FColumns.End(nextRow);
            row.insertAt = static_cast<std::size_t>(FColumns.BoxRowBytes(nextRow, startCol, startCol).first);
            row.pad = std::max(0, startCol - FColumns.Width(nextRow));
            ++nextRow;
        } else {
            row.end = reEndOfText;
            row.pad = startCol;
        }
        block.push_back(std::move(row));
    }

    // Join the block; rows that ended the text are given line breaks, except the block's last row when
    // the block reaches the end of the text (the paste adds no line break after the text).
    const bool reachesEnd = nextRow >= n;
    std::string joined;
    std::int64_t caretAt = 0;
    for (std::size_t i = 0; i < block.size(); ++i) {
        TBoxRow& row = block[i];
        const std::string_view line = i < lines.size() ? lines[i] : std::string_view();
        const std::size_t rowStart = joined.size();
        if (i < lines.size()) {
            row.bytes.insert(row.insertAt, static_cast<std::size_t>(row.pad), ' ');
            row.bytes.insert(row.insertAt + static_cast<std::size_t>(row.pad), line);
            caretAt = static_cast<std::int64_t>(rowStart + row.insertAt + static_cast<std::size_t>(row.pad) +
                                                line.size());
        }
        joined += row.bytes;
        const bool lastOfText = reachesEnd && i + 1 == block.size();
        if (row.end == reLineBreak || (row.end == reEndOfText && !lastOfText)) joined += "\r\n";
    }
    const int count = std::min(nextRow, n) - startRow;
    const int base = CaretBaseRow(startRow);
    const std::int64_t offset = FOffsets.OffsetBetween(base, startRow) + caretAt;

    TCaretHidden caret(*FView);
    TUnderlineHidden underline(*FView, true);
    CleanSelection();
    FRows->ReplaceRows(startRow, std::max(0, count), joined);
    MoveCaretToOffset(base, offset);
}
