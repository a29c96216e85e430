#include "editor/EditorUndoObj.h"

#include "editor/EditorScreenStrings.h"

namespace {

// Hides the active editor's caret for the length of a replay, also when an error passes.
class TCaretHidden {
public:
    explicit TCaretHidden(TEditorHost* editor) : FEditor(editor) {
        if (FEditor) FEditor->HideCaretNested();
    }
    ~TCaretHidden() {
        if (FEditor) FEditor->ShowCaretNested();
    }
    TCaretHidden(const TCaretHidden&) = delete;
    TCaretHidden& operator=(const TCaretHidden&) = delete;

private:
    TEditorHost* FEditor;
};

}  // namespace

TEditorUndoObj::TEditorUndoObj(TEditorScreenStrings& rows) : FRows(rows) {}

TUndoData& TEditorUndoObj::NewRecord() {
    auto record = std::make_unique<TUndoData>();
    if (const TEditorHost* editor = FRows.ActiveEditor()) {
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
    if (const TEditorHost* editor = FRows.ActiveEditor()) {
        copy->CaretRow = editor->Row();
        copy->CaretCol = editor->Col();
    }
    FRedoList.push_back(std::move(copy));
}

void TEditorUndoObj::Clear() {
    FUndoList.clear();
    FRedoList.clear();
}

bool TEditorUndoObj::Replay(const TUndoData& record, std::string& insertedText, TRowEnd& insertedEnd,
                            int& restoredRows) {
    const int first = record.FirstRow;
    const int n = record.InsertedRows;
    if (first < 0 || n < 0 || first + n > FRows.Count()) return false;

    int removedRows = 0;
    insertedText.clear();
    insertedEnd = reNone;
    if (n > 0) {
        TRowsText current = FRows.RowsText(first, n);
        insertedText = std::move(current.Text);
        insertedEnd = current.LastRowEnd;
        removedRows = current.Rows;
        FRows.DeleteRowRange(first, n);
    }
    restoredRows = 0;
    if (record.RemovedRowEnd != reNone) {
        TEditorStringList rows;
        FRows.WrapText(record.RemovedText, rows);
        const int last = rows.Count() - 1;
        if (record.RemovedRowEnd == reWrapped && last > 0 && rows.RowText(last).empty()) rows.Delete(last);
        rows.SetRowEnd(rows.Count() - 1, record.RemovedRowEnd);
        restoredRows = rows.Count();
        FRows.InsertRowList(first, rows);
    }
    const int scanned = FRows.ScanFrom(first, true);
    FRows.SetChangeRecord({first, removedRows, restoredRows, scanned, true});
    return true;
}

void TEditorUndoObj::Undo() {
    if (FUndoList.empty()) return;
    TUndoData& record = *FUndoList.back();
    TEditorHost* editor = FRows.ActiveEditor();
    TCaretHidden hidden(editor);
    {
        TPointerStringList::Update update(FRows);
        std::string text;
        TRowEnd end;
        int restored;
        if (!Replay(record, text, end, restored)) {
            // The record does not fit the rows (they were changed behind the undo store's back): it can
            // only do harm, and so can every older one.
            FUndoList.clear();
            return;
        }
        record.InsertedRows = restored;
        record.RemovedRowEnd = end;
        record.RemovedText = std::move(text);
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
    TEditorHost* editor = FRows.ActiveEditor();
    TCaretHidden hidden(editor);
    {
        TPointerStringList::Update update(FRows);
        std::string text;
        TRowEnd end;
        int restored;
        if (!Replay(record, text, end, restored)) {
            FRedoList.clear();
            return;
        }
        FReplaying = true;
        try {
            TUndoData& inverse = NewRecord();
            inverse.FirstRow = record.FirstRow;
            inverse.InsertedRows = restored;
            inverse.RemovedRowEnd = end;
            inverse.RemovedText = std::move(text);
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
