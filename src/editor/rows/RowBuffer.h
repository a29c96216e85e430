// Storage of the editor's rows: a gap buffer of compact rows.
//
// A row is 16 bytes: its byte length, its 32-bit row word and either the bytes themselves (up to 8) or a
// pointer to an exactly sized heap block. The rows sit in one array with a movable gap at the place of the
// last insertion or deletion, so that typing and inserting lines near the same place costs O(1) while any
// row is still found in O(1). Moving the gap to a distant place moves the rows in between once.
//
// Beside the rows the buffer keeps an index of partial sums over the slots of the row array (gap slots
// count 0): each row's character length (its bytes, plus 2 when its word says reLineBreak) and its
// line-break flag. It answers offset <-> row and "line breaks before row" in O(log n). The index is built
// on the first query and then kept up to date by every change (O(log n) each); whole-buffer operations
// (Clear, Swap, growing the array, moving the gap far) drop it, to be built again by the next query. So
// lists that are never asked (the temporary lists of wrapping and undo) never pay for it.
//
// Row views: Text(i) points into the row array itself for rows of up to 8 bytes, and into the row's own heap
// block for longer rows. A view is valid until the next change of the buffer's rows: any insertion, removal
// or text change of any row, TakeRow, Swap or Clear (the array moves, and with it every short row). Changing
// a row's word only (SetWord) leaves all views valid. Every member that takes a string_view may be given a
// view of this buffer's own rows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "editor/rows/RowWord.h"

class TRowBuffer {
public:
    TRowBuffer() = default;
    ~TRowBuffer();
    TRowBuffer(const TRowBuffer&) = delete;
    TRowBuffer& operator=(const TRowBuffer&) = delete;
    TRowBuffer(TRowBuffer&& other) noexcept;
    TRowBuffer& operator=(TRowBuffer&& other) noexcept;

    std::size_t size() const noexcept { return FCapacity - (FGapEnd - FGapStart); }
    // Number of rows whose word says reLineBreak, kept up to date by every change (so the number of
    // logical lines is known without a walk over all rows).
    std::size_t LineBreakRows() const noexcept { return FLineBreakRows; }
    bool empty() const noexcept { return size() == 0; }

    // The bytes of row i (see the header for how long the view lives).
    std::string_view Text(std::size_t i) const noexcept { return At(i).View(); }
    std::uint32_t Word(std::size_t i) const noexcept { return At(i).word; }
    void SetWord(std::size_t i, std::uint32_t word) noexcept {
        Row& row = At(i);
        const std::size_t was = IsLineBreak(row.word);
        const std::size_t now = IsLineBreak(word);
        row.word = word;
        if (was == now) return;
        FLineBreakRows += now;
        FLineBreakRows -= was;
        const std::int64_t d = now ? 1 : -1;
        FTotalLength += 2 * d;
        IndexAdd(Slot(i), 2 * d, static_cast<std::int32_t>(d));
    }
    void SetText(std::size_t i, std::string_view text);

    // --- Character offsets (bytes, 2 for the line break of a reLineBreak row, 0 for any other row end) ---
    // Length of the whole text.
    std::int64_t TotalLength() const noexcept { return FTotalLength; }
    // Offset of the first byte of row i (0 <= i <= size(); size() gives TotalLength()).
    std::int64_t Offset(std::size_t i) const;
    // The last position i in 0..size() whose Offset(i) <= offset (offset clamped to 0..TotalLength()).
    std::size_t PositionAtOffset(std::int64_t offset) const;
    // Number of reLineBreak rows before row i (0 <= i <= size()).
    std::size_t LineBreaksBefore(std::size_t i) const;
    // The position just after the n-th reLineBreak row (n >= 1); size() when there are fewer; 0 for n 0.
    std::size_t PositionAfterLineBreak(std::size_t n) const;

    // Inserts n empty rows with word 0 at position at (0..size()).
    void InsertEmpty(std::size_t at, std::size_t n);
    // Inserts one row.
    void Insert(std::size_t at, std::string_view text, std::uint32_t word);
    void PushBack(std::string_view text, std::uint32_t word) { Insert(size(), text, word); }
    // Removes n rows at position at (clamped to the rows there are).
    void Erase(std::size_t at, std::size_t n);
    void Clear() noexcept;
    void Reserve(std::size_t rows);

    // Moves row `from` of another buffer, with its word, into row `to` of this one (the other row is left
    // empty with word 0).
    void TakeRow(std::size_t to, TRowBuffer& other, std::size_t from) noexcept;
    // Exchanges the contents of two buffers.
    void Swap(TRowBuffer& other) noexcept;

    // Bytes held: the row array (with its gap) plus every heap block, as requested from the allocator.
    std::size_t HeapBytes() const noexcept;

private:
    struct Row {
        union {
            char* heap;
            char inl[8];
        } u;
        std::uint32_t size;
        std::uint32_t word;

        static constexpr std::uint32_t kInline = sizeof(u.inl);
        std::string_view View() const noexcept {
            return size <= kInline ? std::string_view(u.inl, size) : std::string_view(u.heap, size);
        }
        void Init() noexcept {
            u.heap = nullptr;
            size = 0;
            word = 0;
        }
        void Free() noexcept;
        void Assign(std::string_view text);
        // Character length: the bytes plus the line break.
        std::int64_t Length() const noexcept {
            return static_cast<std::int64_t>(size) + 2 * IsLineBreak(word);
        }
    };
    static_assert(sizeof(Row) == 16, "rows must stay compact");

    static constexpr std::int64_t IsLineBreak(std::uint32_t word) noexcept {
        return rowword::RowEnd(word) == reLineBreak ? 1 : 0;
    }

    std::size_t Slot(std::size_t i) const noexcept { return i < FGapStart ? i : i + (FGapEnd - FGapStart); }
    Row& At(std::size_t i) noexcept { return FData[Slot(i)]; }
    const Row& At(std::size_t i) const noexcept { return FData[Slot(i)]; }
    void MoveGap(std::size_t to) noexcept;
    void EnsureGap(std::size_t n);
    // Moves the array to a new block of `capacity` slots with the gap at `gapStart` (nothing when the
    // allocation fails and `mayFail`, else std::bad_alloc).
    bool Reallocate(std::size_t capacity, bool mayFail);

    // The index: Fenwick trees over the slots of the row array, 1-based (entry k covers slots up to k - 1).
    void IndexAdd(std::size_t slot, std::int64_t length, std::int32_t lineBreaks) noexcept;
    void IndexAddRow(std::size_t slot, const Row& row, int sign) noexcept {
        IndexAdd(slot, sign * row.Length(), static_cast<std::int32_t>(sign * IsLineBreak(row.word)));
    }
    // True when keeping the index up to date over `n` single changes costs more than building it again.
    bool IndexCheaperToRebuild(std::size_t n) const noexcept;
    void DropIndex() noexcept { FIndexed = false; }
    void BuildIndex() const;
    // Sums over the slots before `slot`.
    std::int64_t LengthBeforeSlot(std::size_t slot) const noexcept;
    std::int64_t BreaksBeforeSlot(std::size_t slot) const noexcept;
    // Position (0..size()) of the slot boundary `slot` (0..capacity).
    std::size_t PositionOfSlot(std::size_t slot) const noexcept;

    Row* FData = nullptr;
    std::size_t FCapacity = 0;
    std::size_t FGapStart = 0;
    std::size_t FGapEnd = 0;
    std::size_t FLineBreakRows = 0;
    std::int64_t FTotalLength = 0;
    mutable bool FIndexed = false;
    mutable std::vector<std::int64_t> FLengthTree;
    mutable std::vector<std::int32_t> FBreakTree;
};
