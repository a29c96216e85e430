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

class TEditorUndoObj {
public:
    static constexpr int kMinCapacity = 64;

    explicit TEditorUndoObj(TEditorScreenStrings& rows);
    TEditorUndoObj(const TEditorUndoObj&) = delete;
    TEditorUndoObj& operator=(const TEditorUndoObj&) = delete;
    virtual ~TEditorUndoObj() = default;

    // Appends a fresh record (caret from the active editor, first row -1, nothing inserted or removed),
    // drops the oldest records beyond the capacity and clears the redo stack. The caller fills in the
    // change.
    virtual TUndoData& NewRecord();
    virtual bool CanRedo() const { return !FRedoList.empty(); }
    virtual bool CanUndo() const { return !FUndoList.empty(); }
    // Undo and Redo are one step with the two stacks swapped: the last record of one stack is taken off
    // it, replayed on the rows, and its inverse (with the active editor's caret before the step) goes onto
    // the other stack; after the update the caret goes back to where the record says. The record is taken
    // off its stack first, so a change handler that clears the store or the text at the end of the update
    // cannot pull it away.
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

protected:
    using TUndoDataList = std::deque<std::unique_ptr<TUndoData>>;

    // One undo or redo step from one stack to the other.
    void Step(TUndoDataList& from, TUndoDataList& to);
    // Puts record's removed bytes and rows back in place of the rows it inserted, and fills inverse with
    // what undoes that. Returns false (and changes nothing) when the record does not fit the rows.
    bool Replay(const TUndoData& record, TUndoData& inverse);
    // Appends a record to a stack with the active editor's caret now, dropping the oldest beyond the
    // capacity.
    void Push(TUndoDataList& stack, std::unique_ptr<TUndoData> record);

    TEditorScreenStrings& FRows;
    int FCapacity = kMinCapacity;
    TUndoDataList FUndoList;
    TUndoDataList FRedoList;
};
