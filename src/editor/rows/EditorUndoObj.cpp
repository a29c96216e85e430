#include "editor/rows/EditorUndoObj.h"

#include "editor/rows/EditorScreenStrings.h"

TEditorUndoObj::TEditorUndoObj(TEditorScreenStrings& rows) : FRows(rows) {}

TUndoData& TEditorUndoObj::NewRecord() {
    auto record = std::make_unique<TUndoData>();
    if (const TRowListClient* editor = FRows.ActiveEditor()) {
        record->CaretRow = editor->Row();
        record->CaretCol = editor->Col();
    }
    FUndoList.push_back(std::move(record));
    while (FUndoList.size() > static_cast<std::size_t>(FCapacity)) FUndoList.pop_front();
    if (!FReplaying) FRedoList.clear();
    return *FUndoList.back();
}

void TEditorUndoObj::PushRedo(const TUndoData& record) {
    auto copy = std::make_unique<TUndoData>(record);
    if (const TRowListClient* editor = FRows.ActiveEditor()) {
        copy->CaretRow = editor->Row();
        copy->CaretCol = editor->Col();
    }
    FRedoList.push_back(std::move(copy));
}

void TEditorUndoObj::Clear() {
    FUndoList.clear();
    FRedoList.clear();
}

namespace {

// Cuts text into rows of the given shapes. False when the shapes do not fit the text.
bool SplitByShapes(const std::string& text, const std::vector<TRowShape>& shapes, TEditorStringList& rows) {
    rows.Clear();
    std::size_t pos = 0;
    for (const TRowShape& shape : shapes) {
        const auto len = static_cast<std::size_t>(shape.Length);
        if (shape.Length < 0 || pos + len > text.size()) return false;
        rows.SetRowEnd(rows.Add(std::string_view(text).substr(pos, len)), shape.End);
        pos += len;
        if (shape.End == reLineBreak) {
            if (text.compare(pos, 2, "\r\n") != 0) return false;
            pos += 2;
        }
    }
    return pos == text.size() && !shapes.empty();
}

}  // namespace

void TEditorUndoObj::RemovedRows(const TUndoData& record, TEditorStringList& rows) const {
    if (!record.RemovedRowShapes.empty() && SplitByShapes(record.RemovedText, record.RemovedRowShapes, rows))
        return;
    const std::string& text = record.RemovedText;
    FRows.WrapText(text, rows);
    const int last = rows.Count() - 1;
    if (record.RemovedRowEnd == reWrapped && last > 0 && rows.RowText(last).empty()) rows.Delete(last);
    // Splitting drops the empty line after a final line break: a last removed row that was empty and
    // had no line break comes back as such.
    if (!text.empty() && (text.back() == '\n' || text.back() == '\r') && record.RemovedRowEnd != reLineBreak)
        rows.Add(std::string_view());
    rows.SetRowEnd(rows.Count() - 1, record.RemovedRowEnd);
}

bool TEditorUndoObj::Replay(const TUndoData& record, TUndoData& inverse, int& restoredRows) {
    const int first = record.FirstRow;
    const int n = record.InsertedRows;
    if (first < 0 || n < 0 || first + n > FRows.Count()) return false;

    int removedRows = 0;
    inverse.RemovedText.clear();
    inverse.RemovedRowShapes.clear();
    inverse.RemovedRowEnd = reNone;
    if (n > 0) {
        TRowsText current = FRows.RowsText(first, n, true);
        inverse.RemovedText = std::move(current.Text);
        inverse.RemovedRowShapes = std::move(current.RowShapes);
        inverse.RemovedRowEnd = current.LastRowEnd;
        removedRows = current.Rows;
        FRows.DeleteRowRange(first, n);
    }
    restoredRows = 0;
    if (record.RemovedRowEnd != reNone) {
        TEditorStringList rows;
        RemovedRows(record, rows);
        restoredRows = rows.Count();
        FRows.InsertRowList(first, rows);
    }
    inverse.FirstRow = first;
    inverse.InsertedRows = restoredRows;
    const int scanned = FRows.ScanFrom(first, true);
    FRows.SetChangeRecord({first, removedRows, restoredRows, scanned, true});
    return true;
}

void TEditorUndoObj::Undo() {
    if (FUndoList.empty()) return;
    TUndoData& record = *FUndoList.back();
    TRowListClient* editor = FRows.ActiveEditor();
    TCaretHideGuard hidden(editor);
    {
        TPointerStringList::Update update(FRows);
        TUndoData inverse;
        int restored;
        if (!Replay(record, inverse, restored)) {
            // The record does not fit the rows (they were changed behind the undo store's back): it can
            // only do harm, and so can every older one.
            FUndoList.clear();
            return;
        }
        record.InsertedRows = inverse.InsertedRows;
        record.RemovedRowEnd = inverse.RemovedRowEnd;
        record.RemovedText = std::move(inverse.RemovedText);
        record.RemovedRowShapes = std::move(inverse.RemovedRowShapes);
        PushRedo(record);
    }
    if (editor) {
        editor->SetRow(record.CaretRow);
        editor->SetCol(record.CaretCol);
    }
    FUndoList.pop_back();
}

void TEditorUndoObj::Redo() {
    if (FRedoList.empty()) return;
    TUndoData& record = *FRedoList.back();
    TRowListClient* editor = FRows.ActiveEditor();
    TCaretHideGuard hidden(editor);
    {
        TPointerStringList::Update update(FRows);
        TUndoData inverse;
        int restored;
        if (!Replay(record, inverse, restored)) {
            FRedoList.clear();
            return;
        }
        FReplaying = true;
        try {
            TUndoData& undo = NewRecord();
            undo.FirstRow = inverse.FirstRow;
            undo.InsertedRows = inverse.InsertedRows;
            undo.RemovedRowEnd = inverse.RemovedRowEnd;
            undo.RemovedText = std::move(inverse.RemovedText);
            undo.RemovedRowShapes = std::move(inverse.RemovedRowShapes);
        } catch (...) {
            FReplaying = false;
            throw;
        }
        FReplaying = false;
    }
    if (editor) {
        editor->SetRow(record.CaretRow);
        editor->SetCol(record.CaretCol);
    }
    FRedoList.pop_back();
}
