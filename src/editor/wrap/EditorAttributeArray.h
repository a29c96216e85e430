// A cursor over one line and its column map, used to find wrap points.
//
// Columns and byte indexes are 1-based. The map gets a terminating '0' column after its last column.
// `Column` is the current column, `Code` its map code and `ByteIndex` the byte that column belongs to (the
// TAB itself for its fill columns, one past the last byte on the '0' column).
#pragma once

#include <string>
#include <string_view>

class TEditorAttributeArray {
public:
    // `line` must outlive the cursor; `map` is its column map (see ColumnMap.h).
    TEditorAttributeArray(std::string_view line, std::string map);

    int Column() const noexcept { return FColumn; }
    int ByteIndex() const noexcept { return FByteIndex; }
    char Code() const noexcept { return FMap[static_cast<std::size_t>(FColumn - 1)]; }
    // Number of columns, without the terminating '0'.
    int Length() const noexcept { return static_cast<int>(FMap.size()) - 1; }

    // One column right; no move on the '0' column. The byte index stays on fill columns.
    void Next() noexcept;
    // One column left; no move on column 1.
    void Prev() noexcept;
    // Prev, and once more when that lands on a lead column: steps back over a whole two-byte character.
    void PrevChar() noexcept;
    // Next or Prev until the cursor is on column c (or on the '0' column, or column 1).
    void MoveTo(int c) noexcept;

    // The character under the cursor: both bytes of a two-byte character on its lead or trail column, the
    // TAB on its fill columns, nothing on the '0' column.
    std::string_view Current() const noexcept;
    // Current() of the next column, without moving.
    std::string_view PeekNext() const noexcept;

private:
    std::string_view CharAt(char code, int byteIndex) const noexcept;

    std::string_view FLine;
    std::string FMap;
    int FColumn = 1;
    int FByteIndex = 1;
};
