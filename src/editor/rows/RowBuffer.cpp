#include "editor/rows/RowBuffer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

void TRowBuffer::Row::Free() noexcept {
    if (size > kInline) std::free(u.heap);
    Init();
}

void TRowBuffer::Row::Assign(std::string_view text) {
    const auto n = static_cast<std::uint32_t>(text.size());
    if (n <= kInline) {
        // Copy first: text may point into this row's own heap block.
        char tmp[kInline];
        if (n) std::memcpy(tmp, text.data(), n);
        if (size > kInline) std::free(u.heap);
        if (n) std::memcpy(u.inl, tmp, n);
        size = n;
        return;
    }
    char* block = static_cast<char*>(std::malloc(n));
    if (!block) throw std::bad_alloc();
    std::memcpy(block, text.data(), n);
    if (size > kInline) std::free(u.heap);
    u.heap = block;
    size = n;
}

TRowBuffer::~TRowBuffer() {
    Clear();
}

TRowBuffer::TRowBuffer(TRowBuffer&& other) noexcept {
    Swap(other);
}

TRowBuffer& TRowBuffer::operator=(TRowBuffer&& other) noexcept {
    if (this != &other) {
        Clear();
        Swap(other);
    }
    return *this;
}

void TRowBuffer::Swap(TRowBuffer& other) noexcept {
    std::swap(FData, other.FData);
    std::swap(FCapacity, other.FCapacity);
    std::swap(FGapStart, other.FGapStart);
    std::swap(FGapEnd, other.FGapEnd);
    std::swap(FLineBreakRows, other.FLineBreakRows);
}

void TRowBuffer::Clear() noexcept {
    const std::size_t n = size();
    for (std::size_t i = 0; i < n; ++i) At(i).Free();
    std::free(FData);
    FData = nullptr;
    FCapacity = FGapStart = FGapEnd = 0;
    FLineBreakRows = 0;
}

// Rows are plain bytes plus an owned pointer, so they may be moved with memmove.
void TRowBuffer::MoveGap(std::size_t to) noexcept {
    if (to == FGapStart) return;
    const std::size_t gap = FGapEnd - FGapStart;
    if (to < FGapStart) {
        const std::size_t n = FGapStart - to;
        std::memmove(static_cast<void*>(FData + to + gap), FData + to, n * sizeof(Row));
    } else {
        const std::size_t n = to - FGapStart;
        std::memmove(static_cast<void*>(FData + FGapStart), FData + FGapEnd, n * sizeof(Row));
    }
    FGapStart = to;
    FGapEnd = to + gap;
}

void TRowBuffer::EnsureGap(std::size_t n) {
    const std::size_t gap = FGapEnd - FGapStart;
    if (gap >= n) return;
    const std::size_t used = size();
    const std::size_t capacity = std::max(used + n, used + used / 4 + 64);
    Row* data = static_cast<Row*>(std::malloc(capacity * sizeof(Row)));
    if (!data) throw std::bad_alloc();
    const std::size_t tail = FCapacity - FGapEnd;
    if (FData) {
        std::memcpy(static_cast<void*>(data), FData, FGapStart * sizeof(Row));
        std::memcpy(static_cast<void*>(data + capacity - tail), FData + FGapEnd, tail * sizeof(Row));
    }
    std::free(FData);
    FData = data;
    FCapacity = capacity;
    FGapEnd = capacity - tail;
}

void TRowBuffer::Reserve(std::size_t rows) {
    if (rows > size()) EnsureGap(rows - size());
}

void TRowBuffer::InsertEmpty(std::size_t at, std::size_t n) {
    if (n == 0) return;
    at = std::min(at, size());
    EnsureGap(n);
    MoveGap(at);
    for (std::size_t i = 0; i < n; ++i) FData[FGapStart + i].Init();
    FGapStart += n;
    FLineBreakRows += n;  // word 0 is a line break
}

void TRowBuffer::Insert(std::size_t at, std::string_view text, std::uint32_t word) {
    at = std::min(at, size());
    EnsureGap(1);
    MoveGap(at);
    Row& row = FData[FGapStart];
    row.Init();
    row.Assign(text);
    row.word = word;
    ++FGapStart;
    FLineBreakRows += IsLineBreak(word);
}

void TRowBuffer::Erase(std::size_t at, std::size_t n) {
    const std::size_t count = size();
    if (at >= count || n == 0) return;
    n = std::min(n, count - at);
    MoveGap(at);
    for (std::size_t i = 0; i < n; ++i) {
        FLineBreakRows -= IsLineBreak(FData[FGapEnd + i].word);
        FData[FGapEnd + i].Free();
    }
    FGapEnd += n;
    // Give memory back when the buffer became mostly gap (e.g. after deleting most of a large text).
    if (FCapacity > 4096 && size() < FCapacity / 4) {
        const std::size_t keep = size();
        const std::size_t capacity = keep + keep / 4 + 64;
        Row* data = static_cast<Row*>(std::malloc(capacity * sizeof(Row)));
        if (!data) return;  // keeping the larger array is harmless
        const std::size_t tail = FCapacity - FGapEnd;
        std::memcpy(static_cast<void*>(data), FData, FGapStart * sizeof(Row));
        std::memcpy(static_cast<void*>(data + FGapStart), FData + FGapEnd, tail * sizeof(Row));
        std::free(FData);
        FData = data;
        FCapacity = capacity;
        FGapStart = keep;
        FGapEnd = capacity;
    }
}

void TRowBuffer::TakeRow(std::size_t to, TRowBuffer& other, std::size_t from) noexcept {
    Row& dst = At(to);
    Row& src = other.At(from);
    FLineBreakRows += IsLineBreak(src.word);
    FLineBreakRows -= IsLineBreak(dst.word);
    other.FLineBreakRows += 1 - IsLineBreak(src.word);  // the emptied row has word 0
    dst.Free();
    dst = src;
    src.Init();
}

std::size_t TRowBuffer::HeapBytes() const noexcept {
    std::size_t bytes = FCapacity * sizeof(Row);
    const std::size_t n = size();
    for (std::size_t i = 0; i < n; ++i) {
        const Row& row = At(i);
        if (row.size > Row::kInline) bytes += row.size;
    }
    return bytes;
}
