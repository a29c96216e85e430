// TEditModel: the keyboard commands — navigation, word moves, Delete, Backspace, Enter, Tab and
// overwrite typing. Every edit is one ReplaceRows of the rows it touches (one undo step); the caret's
// target is taken as an offset from a row that re-wrapping cannot move, and restored after the edit.
#include <algorithm>
#include <utility>
#include <vector>

#include "editor/edit/EditModel.h"
#include "editor/options/EditorCaret.h"
#include "editor/rows/EditorScreenStrings.h"
#include "editor/scan/EditorParser.h"
#include "editor/wrap/ColumnMap.h"
#include "editor/wrap/EditorWrapOption.h"
#include "text/ShiftJis.h"

namespace {

const std::string_view kCrLf = "\r\n";

// One character of a row and the columns it covers, startCol..endCol-1 (a TAB with its fill).
struct TCell {
    int byte = 0;
    int length = 0;
    int startCol = 0;
    int endCol = 0;
};

std::vector<TCell> CellsOf(std::string_view text, std::string_view map) {
    std::vector<TCell> cells;
    const int width = static_cast<int>(map.size());
    const int size = static_cast<int>(text.size());
    int byte = 0;
    for (int c = 0; c < width && byte < size;) {
        const int length = map[static_cast<std::size_t>(c)] == '4' ? std::min(2, size - byte) : 1;
        int end = std::min(c + length, width);
        while (end < width && map[static_cast<std::size_t>(end)] == '3') ++end;
        cells.push_back({byte, length, c, end});
        byte += length;
        c = end;
    }
    return cells;
}

}  // namespace

int TEditModel::IndentWidth(std::string_view expanded) {
    if (expanded.empty()) return -1;
    int width = 0;
    std::size_t i = 0;
    while (i < expanded.size()) {
        if (expanded[i] == ' ') {
            ++width;
            ++i;
        } else if (expanded[i] == '\x81' && i + 1 < expanded.size() && expanded[i + 1] == '\x40') {
            width += 2;  // the full-width space
            i += 2;
        } else {
            break;
        }
    }
    return width;
}

int TEditModel::PrevIndent(int row) const {
    if (row <= 0) return 0;
    const int start = row < LineCount() ? FRows->LineFirstRow(row) : row;
    for (int r = start - 1; r >= 0; --r) {
        if (r > 0 && FColumns.End(r - 1) != reLineBreak) continue;  // not the start of a logical line
        const std::string expanded = FColumns.ExpandedText(r);
        if (!expanded.empty()) return IndentWidth(expanded);
    }
    return 0;
}

int TEditModel::CaretByteUnlimited() const {
    const int width = FColumns.Width(FRow);
    if (FCol > width) return static_cast<int>(FColumns.Text(FRow).size()) + FCol - width;
    return FColumns.ColumnToByte(FRow, FCol);
}

// ---- Navigation
// ---------------------------------------------------------------------------------------------

void TEditModel::NavigationKey(TNavKey key, bool shift, bool ctrl, bool repeating, TKeyViewport& viewport) {
    if (shift && !SelAvail()) {
        BeginSelection();
    } else if (!shift && SelAvail()) {
        CancelSelection();
    }
    const int top = viewport.TopRow();
    const int visible = viewport.VisibleRows();
    switch (key) {
        case TNavKey::PageUp:
            PageMove(1 - visible, viewport);
            break;
        case TNavKey::PageDown:
            PageMove(visible - 1, viewport);
            break;
        case TNavKey::End:
            if (ctrl) SetRow(LineCount());
            SetCol(FRow == LineCount() ? 0 : FColumns.Width(FRow));
            break;
        case TNavKey::Home:
            if (ctrl) SetRow(0);
            SetCol(0);
            break;
        case TNavKey::Left:
            if (ctrl) {
                WordMove(-1);
            } else if (FCol > 0) {
                SetCol(FCol - 1);
            } else if (FRow > 0 && (FCaret->NextLine() || FColumns.End(FRow - 1) == reWrapped)) {
                TCaretHidden hidden(*FView);
                SetRow(FRow - 1);
                SetCol(FColumns.Width(FRow));
            }
            break;
        case TNavKey::Right:
            if (ctrl) {
                WordMove(1);
            } else {
                const int old = FCol;
                SetCol(FCol + 1);
                const TRowEnd end = FColumns.End(FRow);
                if (FCol == old && FRow < LineCount() && end != reEndOfText &&
                    (FCaret->NextLine() || end == reWrapped)) {
                    TCaretHidden hidden(*FView);
                    SetRow(FRow + 1);
                    SetCol(0);
                }
            }
            break;
        case TNavKey::Up: {
            // Auto-repeat at the top row scrolls two rows at a time.
            const int d = repeating && FRow == top ? 2 : 1;
            if (FRow <= 0) break;
            if (!ctrl) {
                SetRow(FRow - d);
            } else {
                viewport.SetTopRow(top - d);
                if (FRow >= viewport.TopRow() + visible) SetRow(FRow - d);
            }
            break;
        }
        case TNavKey::Down: {
            const int d = repeating && top + visible == FRow + 1 ? 2 : 1;
            if (!ctrl) {
                if (FColumns.End(FRow) != reEndOfText) SetRow(FRow + d);
            } else {
                viewport.SetTopRow(top + d);
                if (FRow < viewport.TopRow()) SetRow(FRow + d);
            }
            break;
        }
    }
    if (shift) ExtendSelection();
}

void TEditModel::PageMove(int n, TKeyViewport& viewport) {
    const int top = viewport.TopRow();
    if (top == 0 && n < 0) {
        SetRow(0);
        return;
    }
    if (FColumns.End(top) == reEndOfText && n > 0) return;
    TCaretHidden hidden(*FView);
    const int oldRow = FRow;
    viewport.SetTopRow(std::clamp(top + n, 0, LineCount()));
    SetRow(oldRow + viewport.TopRow() - top);
}

void TEditModel::WordMove(int direction) {
    const int n = LineCount();
    if (FRow >= n) return;
    // Start columns of the tokens of a row's expanded text that count as words (single symbols do not).
    const auto wordStarts = [&](int row) {
        std::vector<int> starts;
        if (row >= n) return starts;
        const std::string text = FColumns.ExpandedText(row);
        std::unique_ptr<TEditorParser> parser = FRows->CreateParser(kBracketNone);
        parser->ResetScan(text.c_str(), parser->Options(), tokNone, kBracketNone);
        while (parser->Kind() != tokNone) {
            if (parser->Kind() != tokSymbol) starts.push_back(parser->TokenOffset());
            parser->NextToken();
        }
        return starts;
    };
    int row = FRow;
    int col = FCol;
    if (direction > 0) {
        int after = col;  // the word must start right of this column
        if (col >= FColumns.Width(row) && FColumns.End(row) != reEndOfText) {
            ++row;
            after = -1;
        }
        const std::vector<int> starts = wordStarts(row);
        const auto next = std::upper_bound(starts.begin(), starts.end(), after);
        if (next != starts.end()) {
            col = *next;
        } else if (FColumns.End(row) == reWrapped) {
            ++row;
            col = 0;
        } else {
            col = FColumns.Width(row);
        }
    } else {
        bool done = false;
        if (col == 0) {
            if (row == 0) return;
            --row;
            col = FColumns.Width(row);
            done = FColumns.End(row) == reLineBreak;
        }
        if (!done) {
            const std::vector<int> starts = wordStarts(row);
            const auto next = std::lower_bound(starts.begin(), starts.end(), col);
            if (next != starts.begin()) {
                col = *(next - 1);
            } else if (row > 0) {
                --row;
                col = FColumns.Width(row);
            } else {
                col = 0;
            }
        }
    }
    if (row != FRow || col != FCol) SetRowAndColumn({row, col});
}

// ---- Deleting
// -----------------------------------------------------------------------------------------------

bool TEditModel::DeleteSelectedText() {
    if (!SelAvail()) return false;
    // A selection that covers nothing (Shift with a key that did not move) deletes nothing: the key then
    // acts as without a selection.
    if (FSelCols.Empty()) {
        CancelSelection();
        return false;
    }
    DeleteSelection();
    return true;
}

void TEditModel::DeleteKey() {
    if (FReadOnly) return;
    if (DeleteSelectedText()) return;
    const int n = LineCount();
    const int row = FRow;
    if (row >= n) return;
    const std::string_view text = FColumns.Text(row);
    const int size = static_cast<int>(text.size());
    const int b = CaretByteUnlimited();
    const int base = CaretBaseRow(row);
    const std::int64_t offset = FOffsets.OffsetBetween(base, row) + std::min(b, size);
    if (b < size) {
        const bool lead = ColumnCodeAt(FColumns.Map(row), FCol) == '4';
        const int length = lead ? std::min(2, size - b) : 1;
        std::string block(text.substr(0, static_cast<std::size_t>(b)));
        block.append(text.substr(static_cast<std::size_t>(b + length)));
        if (FColumns.End(row) == reLineBreak) block += kCrLf;
        TCaretHidden hidden(*FView);
        FRows->ReplaceRows(row, 1, std::move(block));
        MoveCaretToOffset(base, offset);
        return;
    }
    if (FColumns.End(row) == reEndOfText) return;
    // At or right of the row's end: the next row joins this one (after spaces up to a free caret).
    std::string block(text);
    block.append(static_cast<std::size_t>(b - size), ' ');
    int count = 1;
    if (row + 1 < n) {
        block.append(FColumns.Text(row + 1));
        if (FColumns.End(row + 1) == reLineBreak) block += kCrLf;
        count = 2;
    }
    TCaretHidden hidden(*FView);
    TUnderlineHidden underline(*FView, true);
    FRows->ReplaceRows(row, count, block);
    MoveCaretToOffset(base, offset + (b - size));
}

void TEditModel::BackspaceKey() {
    if (FReadOnly) return;
    if (DeleteSelectedText()) return;
    const int n = LineCount();
    if (n == 0) {
        SetCol(FCol - 1);
        return;
    }
    const int r = FRow;
    const int b = CaretByteUnlimited();
    if (b >= 1 && FCaret->BackSpaceUnIndent()) {
        // On a blank row, or right after the indentation, Backspace goes back to the indentation above.
        const std::string expanded = FColumns.ExpandedText(r);
        const int indent = IndentWidth(expanded);
        if (indent == -1 || indent == static_cast<int>(expanded.size()) || indent == FCol) {
            Unindent(r);
            return;
        }
    }
    if (b >= 1) {
        const std::string_view text = FColumns.Text(r);
        if (r >= n || static_cast<int>(text.size()) < b) {
            SetCol(FCol - 1);
            return;
        }
        const std::string map = FColumns.Map(r);
        int from = b - 1;
        int length = 1;
        if (ColumnCodeAt(map, FCol) == '3') {
            from = b;  // inside a TAB's fill: the TAB itself
        } else if (FCol >= 1 && ColumnCodeAt(map, FCol - 1) == '5' && b >= 2) {
            from = b - 2;
            length = 2;
        }
        std::string block(text.substr(0, static_cast<std::size_t>(from)));
        block.append(text.substr(static_cast<std::size_t>(from + length)));
        if (FColumns.End(r) == reLineBreak) block += kCrLf;
        const int base = CaretBaseRow(r);
        const std::int64_t offset = FOffsets.OffsetBetween(base, r) + from;
        TCaretHidden hidden(*FView);
        FRows->ReplaceRows(r, 1, block);
        MoveCaretToOffset(base, offset);
        return;
    }
    if (r >= 1) {
        JoinWithRowAbove(r);
        return;
    }
    SetCol(FCol - 1);
}

void TEditModel::JoinWithRowAbove(int r) {
    const int n = LineCount();
    const int above = r - 1;
    std::string block(FColumns.Text(above));
    // A wrapped row loses its last character (the one before the caret); a line break goes by itself.
    if (FColumns.End(above) == reWrapped && !block.empty())
        block.erase(sjis::PrevCharPos(block, block.size()));
    const std::size_t join = block.size();
    int count = 1;
    if (r < n) {
        block.append(FColumns.Text(r));
        if (FColumns.End(r) == reLineBreak) block += kCrLf;
        count = 2;
    }
    const int base = CaretBaseRow(above);
    const std::int64_t offset = FOffsets.OffsetBetween(base, above) + static_cast<std::int64_t>(join);
    TCaretHidden hidden(*FView);
    TUnderlineHidden underline(*FView, true);
    FRows->ReplaceRows(above, count, block);
    MoveCaretToOffset(base, offset);
}

void TEditModel::Unindent(int r) {
    const int n = LineCount();
    const int col = FCol;
    const int first = r < n ? FRows->LineFirstRow(r) : r;
    // The target column: the first indentation above that is smaller than the caret's column; the
    // caret row's own wrap continuations without indentation do not count.
    int g = 0;
    bool found = false;
    for (int i = std::min(r, n) - 1; i >= 0; --i) {
        g = std::max(0, IndentWidth(FColumns.ExpandedText(i)));
        if (i >= first && g == 0) continue;
        if (g < col) {
            found = true;
            break;
        }
    }
    const int t = found ? g : 0;
    if (r >= n || t >= FColumns.Width(r)) {
        SetCol(t);
        return;
    }
    const std::string_view text = FColumns.Text(r);
    const std::vector<TCell> cells = CellsOf(text, FColumns.Map(r));
    std::string block;
    // The columns before t; a character that t cuts becomes spaces up to t.
    for (const TCell& cell : cells) {
        if (cell.endCol <= t) {
            block.append(text.substr(static_cast<std::size_t>(cell.byte), static_cast<std::size_t>(cell.length)));
        } else {
            if (cell.startCol < t) block.append(static_cast<std::size_t>(t - cell.startCol), ' ');
            break;
        }
    }
    const std::size_t head = block.size();
    // The rest from the caret on; a TAB whose fill holds the caret leaves spaces for the fill after it.
    for (const TCell& cell : cells) {
        if (cell.startCol >= col) {
            block.append(text.substr(static_cast<std::size_t>(cell.byte), static_cast<std::size_t>(cell.length)));
        } else if (cell.endCol > col) {
            block.append(static_cast<std::size_t>(cell.endCol - col), ' ');
        }
    }
    if (FColumns.End(r) == reLineBreak) block += kCrLf;
    const int base = CaretBaseRow(r);
    const std::int64_t offset = FOffsets.OffsetBetween(base, r) + static_cast<std::int64_t>(head);
    TCaretHidden hidden(*FView);
    FRows->ReplaceRows(r, 1, block);
    MoveCaretToOffset(base, offset);
}

// ---- Enter and Tab
// ------------------------------------------------------------------------------------------

void TEditModel::EnterKey() {
    if (FReadOnly) return;
    TCaretHidden hidden(*FView);
    if (SelAvail()) DeleteSelection();
    const int n = LineCount();
    if (FRow >= n) {
        // The position after a final line break (or an empty text): a new empty line at the end.
        FRows->ReplaceRows(n, 0, kCrLf);
        SetRowAndColumn({FRow + 1, 0});
        return;
    }
    if (FOverwriteMode) {
        SetRowAndColumn({FRow + 1, 0});
        return;
    }
    const int row = FRow;
    const std::string_view text = FColumns.Text(row);
    const int b = FColumns.ColumnToByte(row, FCol);
    const int f = FRows->LineFirstRow(row);
    int c = 0;
    if (FCaret->AutoIndent()) {
        const int w = IndentWidth(FColumns.ExpandedText(f));
        if (w < 1) {
            if (FCaret->PrevSpaceIndent() && row == f && text.empty()) c = std::max(0, PrevIndent(f));
        } else {
            c = row == f && FCol < w ? FCol : w;
        }
    }
    std::string indent;
    if (FCaret->TabIndent()) {
        const int tabs = std::max(1, FCaret->TabSpaceCount());
        indent.assign(static_cast<std::size_t>(c / tabs), '\t');
        indent.append(static_cast<std::size_t>(c % tabs), ' ');
    } else {
        indent.assign(static_cast<std::size_t>(c), ' ');
    }
    std::string block(text.substr(0, static_cast<std::size_t>(b)));
    block += kCrLf;
    block += indent;
    block.append(text.substr(static_cast<std::size_t>(b)));
    if (FColumns.End(row) == reLineBreak) block += kCrLf;
    const std::int64_t offset =
        FOffsets.OffsetBetween(f, row) + b + 2 + static_cast<std::int64_t>(indent.size());
    FRows->ReplaceRows(row, 1, std::move(block));
    MoveCaretToOffset(f, offset);
}

void TEditModel::TabKey() {
    if (FReadOnly) return;
    const int tabs = std::max(1, FCaret->TabSpaceCount());
    int n = tabs - FCol % tabs;
    if (FRows->WordWrap()) {
        const int wrapByte = FRows->WrapOption().WrapByte();
        if (wrapByte > 0) n = std::min(n, wrapByte - FCol % wrapByte);
    }
    if (FOverwriteMode && !SelAvail()) {
        SetCol(FCol + n);
    } else if (FCaret->SoftTab()) {
        InsertText(std::string(static_cast<std::size_t>(n), ' '));
    } else {
        InsertText("\t");
    }
}

// ---- Overwrite typing
// ---------------------------------------------------------------------------------------

void TEditModel::OverwriteText(std::string_view text) {
    const int n = LineCount();
    const int row = FRow;
    // The caret row and the wrap continuations of its logical line.
    int last = row;
    while (last + 1 < n && FColumns.End(last) == reWrapped) ++last;
    std::string line;
    for (int r = row; r <= last; ++r) line.append(FColumns.Text(r));
    const std::size_t at = static_cast<std::size_t>(CaretByte());
    const std::size_t end = at + text.size();
    std::string block(line.substr(0, at));
    block.append(text);
    if (end < line.size()) {
        // Characters are overwritten whole; a two-byte character whose first half is covered leaves a
        // space for its second half.
        std::size_t pos = at;
        while (pos < end) pos += std::max<std::size_t>(1, sjis::CharLength(line, pos));
        if (pos > end) block += ' ';
        if (pos < line.size()) block.append(line.substr(pos));
    }
    if (FColumns.End(last) == reLineBreak) block += kCrLf;
    const int base = CaretBaseRow(row);
    const std::int64_t offset = FOffsets.OffsetBetween(base, row) + static_cast<std::int64_t>(end);
    FRows->ReplaceRows(row, last - row + 1, block);
    MoveCaretToOffset(base, offset);
}
