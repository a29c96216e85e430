// Storage of the editor's rows: a gap buffer of compact rows.
//
// A row is 16 bytes: its byte length, its 32-bit row word and either the bytes themselves (up to 8) or a
// pointer to an exactly sized heap block. The rows sit in one array with a movable gap at the place of the
// last insertion or deletion, so that typing and inserting lines near the same place costs O(1) while any
// row is still found in O(1). Moving the gap to a distant place moves the rows in between once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

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

    // The bytes of row i. The view stays valid until row i is changed or removed.
    std::string_view Text(std::size_t i) const noexcept { return At(i).View(); }
    std::uint32_t Word(std::size_t i) const noexcept { return At(i).word; }
    void SetWord(std::size_t i, std::uint32_t word) noexcept {
        Row& row = At(i);
        FLineBreakRows += IsLineBreak(word);
        FLineBreakRows -= IsLineBreak(row.word);
        row.word = word;
    }
    void SetText(std::size_t i, std::string_view text) { At(i).Assign(text); }

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
    };
    static_assert(sizeof(Row) == 16, "rows must stay compact");

    static constexpr std::size_t IsLineBreak(std::uint32_t word) noexcept {
        return rowword::RowEnd(word) == reLineBreak ? 1 : 0;
    }

    Row& At(std::size_t i) noexcept { return FData[i < FGapStart ? i : i + (FGapEnd - FGapStart)]; }
    const Row& At(std::size_t i) const noexcept {
        return FData[i < FGapStart ? i : i + (FGapEnd - FGapStart)];
    }
    void MoveGap(std::size_t to) noexcept;
    void EnsureGap(std::size_t n);

    Row* FData = nullptr;
    std::size_t FCapacity = 0;
    std::size_t FGapStart = 0;
    std::size_t FGapEnd = 0;
    std::size_t FLineBreakRows = 0;
};
