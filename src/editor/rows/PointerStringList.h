// An unsorted list of rows: Shift-JIS byte strings, each with a 32-bit row word (see RowWord.h) that
// always stays aligned with it. Adding or inserting a row gives it word 0.
//
// The list has an update counter and a change event: outside an update every single change fires
// OnChange at once; inside one, OnChange fires once when the outermost EndUpdate is reached.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "editor/rows/RowBuffer.h"
#include "editor/rows/RowWord.h"

class TPointerStringList {
public:
    using TNotifyEvent = std::function<void()>;

    TPointerStringList() = default;
    TPointerStringList(const TPointerStringList&) = delete;
    TPointerStringList& operator=(const TPointerStringList&) = delete;
    virtual ~TPointerStringList() = default;

    int Count() const noexcept { return static_cast<int>(FRows.size()); }
    // Number of rows that end with reLineBreak (kept by the rows themselves, no walk).
    int LineBreakRows() const noexcept { return static_cast<int>(FRows.LineBreakRows()); }
    bool InRange(int i) const noexcept { return i >= 0 && i < Count(); }

    // The bytes of row i (empty when out of range). The view is valid until the next change of the list's
    // rows: adding, inserting, removing or replacing any row (not only row i: rows of up to 8 bytes are
    // stored inside the row array, which moves), clearing the list or moving rows in or out of it. Changes
    // of row words only (SetRowWord, SetRowEnd, scanner states) keep it valid. A view may be passed to
    // this list's own Add, Insert and Put.
    std::string_view RowText(int i) const noexcept {
        return InRange(i) ? FRows.Text(Index(i)) : std::string_view();
    }
    std::string Get(int i) const { return std::string(RowText(i)); }
    // Replaces the bytes of row i; its word stays. Out of range: nothing.
    void Put(int i, std::string_view s);

    std::uint32_t RowWord(int i) const noexcept { return InRange(i) ? FRows.Word(Index(i)) : 0u; }
    void SetRowWord(int i, std::uint32_t word) noexcept {
        if (InRange(i)) FRows.SetWord(Index(i), word);
    }
    // Row end code; reNone for a row out of range.
    TRowEnd RowEnd(int i) const noexcept {
        return InRange(i) ? rowword::RowEnd(FRows.Word(Index(i))) : reNone;
    }
    void SetRowEnd(int i, TRowEnd end) noexcept { SetRowWord(i, rowword::WithRowEnd(RowWord(i), end)); }
    int RowBracket(int i) const noexcept { return rowword::RowBracket(RowWord(i)); }
    void SetRowBracket(int i, int bracket) noexcept {
        SetRowWord(i, rowword::WithRowBracket(RowWord(i), bracket));
    }
    int RowEntryKind(int i) const noexcept { return rowword::RowEntryKind(RowWord(i)); }
    void SetRowEntryKind(int i, int kind) noexcept {
        SetRowWord(i, rowword::WithRowEntryKind(RowWord(i), kind));
    }

    // Appends a row with word 0; returns its index.
    int Add(std::string_view s);
    // Inserts a row with word 0 at i (0..Count()); out of range: nothing.
    void Insert(int i, std::string_view s);
    // Removes row i with its word; out of range: nothing.
    void Delete(int i);
    // Removes every row.
    virtual void Clear();

    // Moves all rows of `from` (with their words) to the end of this list; `from` is left empty.
    void AppendFrom(TPointerStringList& from);
    void Reserve(int rows) { FRows.Reserve(rows > 0 ? static_cast<std::size_t>(rows) : 0u); }

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const noexcept { return FUpdateCount; }

    class Update {
    public:
        explicit Update(TPointerStringList& target) : FTarget(target) { FTarget.BeginUpdate(); }
        ~Update() { FTarget.EndUpdate(); }
        Update(const Update&) = delete;
        Update& operator=(const Update&) = delete;

    private:
        TPointerStringList& FTarget;
    };

    const TNotifyEvent& OnChange() const { return FOnChange; }
    void SetOnChange(TNotifyEvent handler) { FOnChange = std::move(handler); }

    // Grows by one on every change of the rows: lets views cache what they derive from the rows.
    std::uint64_t ChangeStamp() const noexcept { return FChangeStamp; }
    // Bytes held by the rows (row array with its gap, plus the heap blocks of long rows).
    std::size_t HeapBytes() const noexcept { return FRows.HeapBytes(); }

protected:
    // Called when the update counter goes from 0 to 1 (true) and back to 0 (false). The default fires the
    // change event on leaving.
    virtual void SetUpdateState(bool updating);
    // Records a change of the rows and fires OnChange unless an update is open.
    void Changed();
    // Records a change without notifying (bulk operations that notify once themselves).
    void Touch() noexcept { ++FChangeStamp; }

    static std::size_t Index(int i) noexcept { return static_cast<std::size_t>(i); }

    TRowBuffer FRows;

private:
    friend class TEditorScreenStrings;  // moves rows between its temporary lists and itself

    int FUpdateCount = 0;
    std::uint64_t FChangeStamp = 0;
    TNotifyEvent FOnChange;
};
