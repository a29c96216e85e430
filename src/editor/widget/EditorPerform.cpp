// TEditor: the edit-control messages, so that generic code can drive the control like an edit box.
#include <QApplication>
#include <QClipboard>
#include <algorithm>
#include <cstring>

#include "editor/rows/EditorScreenStrings.h"
#include "editor/rows/EditorUndoObj.h"
#include "editor/widget/Editor.h"

namespace {

// A 32-bit result widened to the message result.
std::intptr_t Result(std::int64_t value) {
    return static_cast<std::intptr_t>(static_cast<std::int32_t>(static_cast<std::uint32_t>(value)));
}

// Low word and high word of a 32-bit result.
std::intptr_t Words(std::int64_t low, std::int64_t high) {
    const std::uint32_t v = (static_cast<std::uint32_t>(low) & 0xFFFFu) | (static_cast<std::uint32_t>(high) << 16);
    return Result(v);
}

const char* AsString(std::intptr_t p) {
    return reinterpret_cast<const char*>(p);
}

void EmptyClipboardText() {
    QApplication::clipboard()->setText(QString(), QClipboard::Clipboard);
}

}  // namespace

std::intptr_t TEditor::Perform(unsigned msg, std::intptr_t w, std::intptr_t l) {
    using namespace editmsg;
    const TTextOffsets& offsets = FEdit->Offsets();
    const auto rowOfOffset = [&](std::intptr_t offset) { return offsets.OffsetToRowByte(0, offset); };
    switch (msg) {
        case WM_SETTEXT:
            if (!ReadOnly() && l) SetText(AsString(l));
            return 1;
        case WM_GETTEXT: {
            char* buffer = reinterpret_cast<char*>(l);
            if (!buffer || w <= 0) return 0;
            const std::string text = Text();
            const std::size_t n = std::min(text.size(), static_cast<std::size_t>(w) - 1);
            std::memcpy(buffer, text.data(), n);
            buffer[n] = '\0';
            return Result(static_cast<std::int64_t>(n));
        }
        case WM_GETTEXTLENGTH:
            return Result(FEdit->TextLength());
        case WM_CUT:
            if (ReadOnly() || !SelAvail()) {
                EmptyClipboardText();
            } else {
                CutToClipboard();
            }
            return 0;
        case WM_COPY:
            if (SelAvail()) {
                CopyToClipboard();
            } else {
                EmptyClipboardText();
            }
            return 0;
        case WM_PASTE:
            if (!ReadOnly()) PasteFromClipboard();
            return 0;
        case WM_CLEAR:
            if (!ReadOnly()) DeleteSelection();
            return 0;
        case EM_GETSEL: {
            const std::int64_t start = FEdit->SelStart();
            const std::int64_t end = start + FEdit->SelLength();
            const auto store = [](std::intptr_t p, std::int64_t v) {
                if (!p) return;
                const auto v32 = static_cast<std::int32_t>(v);
                std::memcpy(reinterpret_cast<void*>(p), &v32, sizeof v32);
            };
            store(w, start);
            store(l, end);
            return Words(start, end);
        }
        case EM_SETSEL:
            if (w == 0 && l == -1) {
                SelectAll();
            } else if (w == -1) {
                CancelSelection();
            } else {
                CaretHider hidden(*this);
                FEdit->SetSelStart(std::min(w, l));
                FEdit->SetSelLength(std::max(w, l) - std::min(w, l));
            }
            return 0;
        case EM_SCROLLCARET:
            if (Row() < FTopRow || Row() >= FTopRow + FVisibleRows) SetTopRow(Row() - FVisibleRows / 3);
            if (Col() < FTopCol || Col() >= FTopCol + FVisibleCols) SetTopCol(Col() - FVisibleCols / 3);
            return 0;
        case EM_GETMODIFY:
            return FModified ? 1 : 0;
        case EM_SETMODIFY:
            if (!ReadOnly()) FModified = w != 0;
            return 0;
        case EM_GETLINECOUNT:
            return Result(LineCount());
        case EM_LINEINDEX: {
            const std::intptr_t row = w == -1 ? Row() : w;
            if (row < 0 || row >= LineCount()) return -1;
            return Result(FEdit->PositionToOffset(static_cast<int>(row), 0));
        }
        case EM_LINELENGTH: {
            if (w == -1) {
                if (SelAvail()) {
                    const TSelectionBytes& s = FEdit->SelectionBytes();
                    return Result(s.firstByte + static_cast<std::int64_t>(RowText(s.lastRow).size()) - s.lastByte - 1);
                }
                return Result(static_cast<std::int64_t>(RowText(Row()).size()));
            }
            return Result(static_cast<std::int64_t>(RowText(rowOfOffset(w).row).size()));
        }
        case EM_REPLACESEL:
            if (!ReadOnly() && l) SetSelText(AsString(l));
            return 0;
        case EM_GETLINE: {
            if (!l || w < 0 || w >= LineCount()) return 0;
            // The buffer's first 16-bit word holds its size in bytes; nothing is written past it.
            std::uint16_t size = 0;
            std::memcpy(&size, reinterpret_cast<const void*>(l), sizeof size);
            const std::string_view row = RowText(static_cast<int>(w));
            const std::size_t n = std::min<std::size_t>(size, row.size());
            std::memcpy(reinterpret_cast<void*>(l), row.data(), n);
            return static_cast<std::intptr_t>(static_cast<std::uint16_t>(n));
        }
        case EM_CANUNDO:
            return !ReadOnly() && CanUndo() ? 1 : 0;
        case EM_UNDO:
            if (ReadOnly() || !CanUndo()) return 0;
            Undo();
            return 1;
        case EM_LINEFROMCHAR:
            if (w == -1) return Result(SelAvail() ? FEdit->SelectionBytes().firstRow : Row());
            return Result(rowOfOffset(w).row);
        case EM_EMPTYUNDOBUFFER:
            if (!ReadOnly()) FRows->UndoObj().Clear();
            return 0;
        case EM_GETFIRSTVISIBLELINE:
            return Result(FTopRow);
        case EM_SETREADONLY:
            SetReadOnly(w != 0);
            return 1;
        case EM_POSFROMCHAR: {
            const TTextOffsets::TRowByte at = rowOfOffset(w);
            const int col = ByteToColumn(at.row, at.byteIndex);
            return Words(TextLeft() + (col - FTopCol) * FCharWidth, TextTop() + (at.row - FTopRow) * FRowHeight);
        }
        case EM_CHARFROMPOS: {
            const int x = static_cast<std::int16_t>(l & 0xFFFF);
            const int y = static_cast<std::int16_t>((l >> 16) & 0xFFFF);
            if (!viewport()->rect().contains(x, y)) return -1;
            TRowCol rc = PointToRowCol(x, y, true);
            const int n = LineCount();
            const int lastRow = n > 0 && RowEnd(n - 1) == reEndOfText ? n - 1 : n;
            rc.row = std::clamp(rc.row, 0, std::max(0, lastRow));
            const std::string map = RowColumnMap(rc.row);
            if (rc.col < static_cast<int>(map.size()) && map[static_cast<std::size_t>(rc.col)] == '5') --rc.col;
            const std::int64_t offset = FEdit->PositionToOffset(rc.row, ColumnToByte(rc.row, rc.col));
            return Words(offset, rc.row);
        }
        default:
            return 0;
    }
}
