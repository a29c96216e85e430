// The undo store of a row list: two bounded stacks of row-based records, undo and redo.
//
// Every ReplaceRows call makes exactly one record (NewRecord). Undoing a record puts the removed text back
// in place of the rows the change inserted, and turns the record into its inverse on the redo stack; redo
// does the reverse. A new edit clears the redo stack. Clearing the rows, switching word wrap and changing a
// wrap option clear both stacks.
#pragma once

#include <deque>
#include <memory>

#include "editor/rows/UndoData.h"

class TEditorScreenStrings;
class TEditorStringList;

class TEditorUndoObj {
public:
    static constexpr int kMinCapacity = 64;

    explicit TEditorUndoObj(TEditorScreenStrings& rows);
    TEditorUndoObj(const TEditorUndoObj&) = delete;
    TEditorUndoObj& operator=(const TEditorUndoObj&) = delete;
    virtual ~TEditorUndoObj() = default;

    // Appends a fresh record (caret from the active editor, first row -1, nothing inserted or removed),
    // drops the oldest records beyond the capacity and clears the redo stack unless a redo is recording its
    // inverse. The caller fills in the change.
    virtual TUndoData& NewRecord();
    virtual bool CanRedo() const { return !FRedoList.empty(); }
    virtual bool CanUndo() const { return !FUndoList.empty(); }
    virtual void Redo();
    virtual void Undo();
    // Appends a copy of record to the redo stack, with the active editor's caret now.
    virtual void PushRedo(const TUndoData& record);
    virtual void Clear();

    // Maximum number of undo records: at least 64, no upper bound.
    int Capacity() const { return FCapacity; }
    void SetCapacity(int value) { FCapacity = value < kMinCapacity ? kMinCapacity : value; }

    int UndoCount() const { return static_cast<int>(FUndoList.size()); }
    int RedoCount() const { return static_cast<int>(FRedoList.size()); }
    // Record i of a stack, 0 the oldest (for inspection).
    const TUndoData& UndoRecord(int i) const { return *FUndoList[static_cast<std::size_t>(i)]; }
    const TUndoData& RedoRecord(int i) const { return *FRedoList[static_cast<std::size_t>(i)]; }
    bool Replaying() const { return FReplaying; }

protected:
    using TUndoDataList = std::deque<std::unique_ptr<TUndoData>>;

    // Puts record's removed text back in place of the rows it inserted. Returns false (and changes
    // nothing) when the record does not fit the rows.
    bool Replay(const TUndoData& record, TUndoData& inverse, int& restoredRows);
    // The rows of a record's removed text: exactly as they were when the record holds their lengths,
    // else wrapped again.
    void RemovedRows(const TUndoData& record, TEditorStringList& rows) const;

    TEditorScreenStrings& FRows;
    int FCapacity = kMinCapacity;
    TUndoDataList FUndoList;
    TUndoDataList FRedoList;
    bool FReplaying = false;
};
