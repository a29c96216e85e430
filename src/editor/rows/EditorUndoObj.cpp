#include "editor/rows/EditorUndoObj.h"

#include "editor/rows/EditorScreenStrings.h"

namespace {

// Cuts text into rows of the given shapes. False when the shapes do not fit the text.
bool SplitByShapes(const std::string& text, const std::vector<TRowShape>& shapes, TEditorStringList& rows) {
    rows.Clear();
    rows.Reserve(static_cast<int>(shapes.size()));
    std::size_t pos = 0;
    for (const TRowShape& shape : shapes) {
        const std::size_t len = shape.Length;
        if (len > text.size() - pos) return false;
        rows.SetRowEnd(rows.Add(std::string_view(text).substr(pos, len)), shape.End);
        pos += len;
        if (shape.End == reLineBreak) {
            if (text.compare(pos, 2, "\r\n") != 0) return false;
            pos += 2;
        }
    }
    return pos == text.size();
}

}  // namespace

TEditorUndoObj::TEditorUndoObj(TEditorScreenStrings& rows) : FRows(rows) {}

TUndoData& TEditorUndoObj::NewRecord() {
    FRedoList.clear();
    Push(FUndoList, std::make_unique<TUndoData>());
    return *FUndoList.back();
}

void TEditorUndoObj::Push(TUndoDataList& stack, std::unique_ptr<TUndoData> record) {
    if (const TRowListClient* editor = FRows.ActiveEditor()) {
        record->CaretRow = editor->Row();
        record->CaretCol = editor->Col();
    }
    stack.push_back(std::move(record));
    while (stack.size() > static_cast<std::size_t>(FCapacity)) stack.pop_front();
}

void TEditorUndoObj::PushRedo(const TUndoData& record) {
    Push(FRedoList, std::make_unique<TUndoData>(record));
}

void TEditorUndoObj::Clear() {
    FUndoList.clear();
    FRedoList.clear();
}

bool TEditorUndoObj::Replay(const TUndoData& record, TUndoData& inverse) {
    const int first = record.FirstRow;
    const int n = record.InsertedRows;
    if (first < 0 || n < 0 || first > FRows.Count() - n) return false;
    // The rows the change put there, and the old text: theirs with the removed bytes back in place.
    TRowsText now = FRows.RowsText(first, n, true);
    const auto offset = static_cast<std::size_t>(record.ChangeOffset);
    const auto length = static_cast<std::size_t>(record.InsertedLength);
    if (record.ChangeOffset < 0 || record.InsertedLength < 0 || offset > now.Text.size() ||
        length > now.Text.size() - offset)
        return false;
    std::string old;
    old.reserve(now.Text.size() - length + record.RemovedText.size());
    old.append(now.Text, 0, offset);
    old += record.RemovedText;
    old.append(now.Text, offset + length);
    TEditorStringList rows;
    if (!SplitByShapes(old, record.RemovedRowShapes, rows)) return false;

    const int restored = rows.Count();
    inverse.FirstRow = first;
    inverse.InsertedRows = restored;
    inverse.RemovedRowEnd = now.LastRowEnd;
    inverse.ChangeOffset = record.ChangeOffset;
    inverse.RemovedText = now.Text.substr(offset, length);
    inverse.InsertedLength = static_cast<std::int64_t>(record.RemovedText.size());
    inverse.RemovedRowShapes = std::move(now.RowShapes);

    FRows.PutRowList(first, n, rows);
    const int scanned = FRows.Rescan(first, first + restored, true);
    FRows.MergeChange({first, n, restored, scanned, true});
    return true;
}

void TEditorUndoObj::Undo() {
    Step(FUndoList, FRedoList);
}

void TEditorUndoObj::Redo() {
    Step(FRedoList, FUndoList);
}

void TEditorUndoObj::Step(TUndoDataList& from, TUndoDataList& to) {
    if (from.empty()) return;
    // Off its stack before the update ends: the change notification may clear both stacks.
    const std::unique_ptr<TUndoData> record = std::move(from.back());
    from.pop_back();
    TRowListClient* editor = FRows.ActiveEditor();
    TCaretHideGuard hidden(editor);
    {
        TPointerStringList::Update update(FRows);
        auto inverse = std::make_unique<TUndoData>();
        if (!Replay(*record, *inverse)) {
            // The record does not fit the rows (they were changed behind the undo store's back): it can
            // only do harm, and so can every older one.
            from.clear();
            return;
        }
        Push(to, std::move(inverse));
    }
    if (editor) {
        editor->SetRow(record->CaretRow);
        editor->SetCol(record->CaretCol);
    }
}
