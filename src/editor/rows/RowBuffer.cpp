#include "editor/rows/RowBuffer.h"

#include <algorithm>
#include <bit>
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
    std::swap(FTotalLength, other.FTotalLength);
    std::swap(FIndexed, other.FIndexed);
    FLengthTree.swap(other.FLengthTree);
    FBreakTree.swap(other.FBreakTree);
}

void TRowBuffer::Clear() noexcept {
    const std::size_t n = size();
    for (std::size_t i = 0; i < n; ++i) At(i).Free();
    std::free(FData);
    FData = nullptr;
    FCapacity = FGapStart = FGapEnd = 0;
    FLineBreakRows = 0;
    FTotalLength = 0;
    DropIndex();
    FLengthTree = {};
    FBreakTree = {};
}

void TRowBuffer::SetText(std::size_t i, std::string_view text) {
    Row& row = At(i);
    const std::int64_t before = row.Length();
    row.Assign(text);
    const std::int64_t d = row.Length() - before;
    FTotalLength += d;
    if (d) IndexAdd(Slot(i), d, 0);
}

// Rows are plain bytes plus an owned pointer, so they may be moved with memmove.
void TRowBuffer::MoveGap(std::size_t to) noexcept {
    if (to == FGapStart) return;
    const std::size_t gap = FGapEnd - FGapStart;
    const std::size_t n = to < FGapStart ? FGapStart - to : to - FGapStart;
    // Every moved row changes its slot; past a point building the index again is cheaper.
    const bool keepIndex = FIndexed && gap > 0 && !IndexCheaperToRebuild(2 * n);
    if (FIndexed && !keepIndex && gap > 0) DropIndex();
    if (to < FGapStart) {
        if (keepIndex)
            for (std::size_t s = to; s < FGapStart; ++s) IndexAddRow(s, FData[s], -1);
        std::memmove(static_cast<void*>(FData + to + gap), FData + to, n * sizeof(Row));
        if (keepIndex)
            for (std::size_t s = to + gap; s < FGapStart + gap; ++s) IndexAddRow(s, FData[s], +1);
    } else {
        if (keepIndex)
            for (std::size_t s = FGapEnd; s < FGapEnd + n; ++s) IndexAddRow(s, FData[s], -1);
        std::memmove(static_cast<void*>(FData + FGapStart), FData + FGapEnd, n * sizeof(Row));
        if (keepIndex)
            for (std::size_t s = FGapStart; s < FGapStart + n; ++s) IndexAddRow(s, FData[s], +1);
    }
    FGapStart = to;
    FGapEnd = to + gap;
}

bool TRowBuffer::Reallocate(std::size_t capacity, bool mayFail) {
    Row* data = static_cast<Row*>(std::malloc(capacity * sizeof(Row)));
    if (!data) {
        if (mayFail) return false;
        throw std::bad_alloc();
    }
    const std::size_t tail = FCapacity - FGapEnd;
    if (FData) {
        std::memcpy(static_cast<void*>(data), FData, FGapStart * sizeof(Row));
        std::memcpy(static_cast<void*>(data + capacity - tail), FData + FGapEnd, tail * sizeof(Row));
    }
    std::free(FData);
    FData = data;
    FCapacity = capacity;
    FGapEnd = capacity - tail;
    DropIndex();  // every slot after the gap moved
    return true;
}

void TRowBuffer::EnsureGap(std::size_t n) {
    const std::size_t gap = FGapEnd - FGapStart;
    if (gap >= n) return;
    const std::size_t used = size();
    Reallocate(std::max(used + n, used + used / 4 + 64), false);
}

void TRowBuffer::Reserve(std::size_t rows) {
    if (rows > size()) EnsureGap(rows - size());
}

void TRowBuffer::InsertEmpty(std::size_t at, std::size_t n) {
    if (n == 0) return;
    at = std::min(at, size());
    EnsureGap(n);
    MoveGap(at);
    if (FIndexed && IndexCheaperToRebuild(n)) DropIndex();
    for (std::size_t i = 0; i < n; ++i) {
        FData[FGapStart + i].Init();
        IndexAdd(FGapStart + i, 2, 1);  // word 0 is a line break
    }
    FGapStart += n;
    FLineBreakRows += n;
    FTotalLength += 2 * static_cast<std::int64_t>(n);
}

void TRowBuffer::Insert(std::size_t at, std::string_view text, std::uint32_t word) {
    // A text of up to 8 bytes may be a view of a row stored inside the array, which moves below.
    char shortText[Row::kInline];
    if (text.size() <= Row::kInline) {
        if (!text.empty()) std::memcpy(shortText, text.data(), text.size());
        text = std::string_view(shortText, text.size());
    }
    at = std::min(at, size());
    EnsureGap(1);
    MoveGap(at);
    Row& row = FData[FGapStart];
    row.Init();
    row.Assign(text);
    row.word = word;
    IndexAddRow(FGapStart, row, +1);
    ++FGapStart;
    FLineBreakRows += static_cast<std::size_t>(IsLineBreak(word));
    FTotalLength += row.Length();
}

void TRowBuffer::Erase(std::size_t at, std::size_t n) {
    const std::size_t count = size();
    if (at >= count || n == 0) return;
    n = std::min(n, count - at);
    MoveGap(at);
    if (FIndexed && IndexCheaperToRebuild(n)) DropIndex();
    for (std::size_t i = 0; i < n; ++i) {
        Row& row = FData[FGapEnd + i];
        FLineBreakRows -= static_cast<std::size_t>(IsLineBreak(row.word));
        FTotalLength -= row.Length();
        IndexAddRow(FGapEnd + i, row, -1);
        row.Free();
    }
    FGapEnd += n;
    // Give memory back when the buffer became mostly gap (e.g. after deleting most of a large text).
    if (FCapacity > 4096 && size() < FCapacity / 4) {
        const std::size_t keep = size();
        DropIndex();
        MoveGap(keep);                           // the gap to the end, so the copy is one block
        Reallocate(keep + keep / 4 + 64, true);  // keeping the larger array is harmless
    }
}

void TRowBuffer::TakeRow(std::size_t to, TRowBuffer& other, std::size_t from) noexcept {
    Row& dst = At(to);
    Row& src = other.At(from);
    const std::size_t dstSlot = Slot(to);
    const std::size_t srcSlot = other.Slot(from);
    FLineBreakRows += static_cast<std::size_t>(IsLineBreak(src.word));
    FLineBreakRows -= static_cast<std::size_t>(IsLineBreak(dst.word));
    FTotalLength += src.Length() - dst.Length();
    IndexAddRow(dstSlot, dst, -1);
    IndexAddRow(dstSlot, src, +1);
    // The emptied row has word 0: an empty line-break row.
    other.FLineBreakRows += static_cast<std::size_t>(1 - IsLineBreak(src.word));
    other.FTotalLength += 2 - src.Length();
    other.IndexAddRow(srcSlot, src, -1);
    other.IndexAdd(srcSlot, 2, 1);
    dst.Free();
    dst = src;
    src.Init();
}

std::size_t TRowBuffer::HeapBytes() const noexcept {
    std::size_t bytes = FCapacity * sizeof(Row);
    if (FIndexed)
        bytes += FLengthTree.capacity() * sizeof(std::int64_t) + FBreakTree.capacity() * sizeof(std::int32_t);
    const std::size_t n = size();
    for (std::size_t i = 0; i < n; ++i) {
        const Row& row = At(i);
        if (row.size > Row::kInline) bytes += row.size;
    }
    return bytes;
}

// ---- The index ------------------------------------------------------------------------------------------

bool TRowBuffer::IndexCheaperToRebuild(std::size_t n) const noexcept {
    const auto depth = static_cast<std::size_t>(std::bit_width(FCapacity + 1));
    return n * depth > FCapacity + 64;
}

void TRowBuffer::IndexAdd(std::size_t slot, std::int64_t length, std::int32_t lineBreaks) noexcept {
    if (!FIndexed) return;
    for (std::size_t k = slot + 1; k <= FCapacity; k += k & (~k + 1)) {
        FLengthTree[k] += length;
        FBreakTree[k] += lineBreaks;
    }
}

void TRowBuffer::BuildIndex() const {
    if (FIndexed) return;
    FLengthTree.assign(FCapacity + 1, 0);
    FBreakTree.assign(FCapacity + 1, 0);
    for (std::size_t s = 0; s < FCapacity; ++s) {
        if (s >= FGapStart && s < FGapEnd) continue;
        FLengthTree[s + 1] = FData[s].Length();
        FBreakTree[s + 1] = static_cast<std::int32_t>(IsLineBreak(FData[s].word));
    }
    for (std::size_t k = 1; k <= FCapacity; ++k) {
        const std::size_t parent = k + (k & (~k + 1));
        if (parent <= FCapacity) {
            FLengthTree[parent] += FLengthTree[k];
            FBreakTree[parent] += FBreakTree[k];
        }
    }
    FIndexed = true;
}

std::int64_t TRowBuffer::LengthBeforeSlot(std::size_t slot) const noexcept {
    std::int64_t sum = 0;
    for (std::size_t k = slot; k > 0; k &= k - 1) sum += FLengthTree[k];
    return sum;
}

std::int64_t TRowBuffer::BreaksBeforeSlot(std::size_t slot) const noexcept {
    std::int64_t sum = 0;
    for (std::size_t k = slot; k > 0; k &= k - 1) sum += FBreakTree[k];
    return sum;
}

std::size_t TRowBuffer::PositionOfSlot(std::size_t slot) const noexcept {
    if (slot <= FGapStart) return slot;
    if (slot < FGapEnd) return FGapStart;
    return slot - (FGapEnd - FGapStart);
}

std::int64_t TRowBuffer::Offset(std::size_t i) const {
    i = std::min(i, size());
    if (i == size()) return FTotalLength;
    BuildIndex();
    return LengthBeforeSlot(Slot(i));
}

std::size_t TRowBuffer::LineBreaksBefore(std::size_t i) const {
    i = std::min(i, size());
    if (i == size()) return FLineBreakRows;
    BuildIndex();
    return static_cast<std::size_t>(BreaksBeforeSlot(Slot(i)));
}

std::size_t TRowBuffer::PositionAtOffset(std::int64_t offset) const {
    if (offset >= FTotalLength) return size();
    BuildIndex();
    offset = std::max<std::int64_t>(offset, 0);
    // The largest slot boundary whose sum before it is <= offset.
    std::size_t slot = 0;
    for (std::size_t step = std::bit_floor(FCapacity); step > 0; step >>= 1) {
        const std::size_t k = slot + step;
        if (k <= FCapacity && FLengthTree[k] <= offset) {
            slot = k;
            offset -= FLengthTree[k];
        }
    }
    return PositionOfSlot(slot);
}

std::size_t TRowBuffer::PositionAfterLineBreak(std::size_t n) const {
    if (n == 0) return 0;
    if (n > FLineBreakRows) return size();
    BuildIndex();
    // The largest slot boundary with fewer than n line breaks before it: the n-th break is the slot there.
    auto want = static_cast<std::int64_t>(n);
    std::size_t slot = 0;
    for (std::size_t step = std::bit_floor(FCapacity); step > 0; step >>= 1) {
        const std::size_t k = slot + step;
        if (k <= FCapacity && FBreakTree[k] < want) {
            slot = k;
            want -= FBreakTree[k];
        }
    }
    return PositionOfSlot(slot) + 1;
}
