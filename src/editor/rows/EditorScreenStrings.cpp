// TEditorScreenStrings: editors, row-level operations, ReplaceRows, update state.
#include "editor/rows/EditorScreenStrings.h"

#include <algorithm>

#include "editor/rows/EditorUndoObj.h"
#include "editor/wrap/EditorWrapOption.h"

TEditorScreenStrings::TEditorScreenStrings() {
    SetOnChange([this] { NotifyEditors(); });
}

TEditorScreenStrings::~TEditorScreenStrings() = default;

void TEditorScreenStrings::NotifyEditors() {
    if (FNotifySuspended > 0) return;
    // Copy: a handler may add or remove editors.
    const std::vector<TRowListClient*> editors = FEditors;
    for (TRowListClient* e : editors) e->StringsChanged();
}

// --- Editors ---------------------------------------------------------------------------------------------

void TEditorScreenStrings::AddEditor(TRowListClient* editor, const TRowListOptions& options) {
    if (!editor || std::find(FEditors.begin(), FEditors.end(), editor) != FEditors.end()) return;
    FEditors.push_back(editor);
    FEditorOptions.push_back(options);
    FEditorOptions.back().Columns.TabSpaceCount = std::max(1, options.Columns.TabSpaceCount);
}

void TEditorScreenStrings::SetEditorOptions(const TRowListClient* editor, const TRowListOptions& options) {
    const auto at = std::find(FEditors.begin(), FEditors.end(), editor);
    if (at == FEditors.end()) return;
    TRowListOptions& stored = FEditorOptions[static_cast<std::size_t>(at - FEditors.begin())];
    const TColumnRules before = stored.Columns;
    stored = options;
    stored.Columns.TabSpaceCount = std::max(1, options.Columns.TabSpaceCount);
    // Rows wrapped with other column rules would be cut differently by the next edit: cut them all again.
    if (at == FEditors.begin() && !(stored.Columns == before)) WrapOptionChanged();
}

bool TEditorScreenStrings::RemoveEditor(TRowListClient* editor) {
    const auto at = std::find(FEditors.begin(), FEditors.end(), editor);
    if (at == FEditors.end()) return FEditors.empty();
    const bool owner = at == FEditors.begin();
    const TColumnRules before = ColumnRules();
    FEditorOptions.erase(FEditorOptions.begin() + (at - FEditors.begin()));
    FEditors.erase(at);
    // The next editor's rules take over: rows cut with the old ones are cut again.
    if (owner && !FEditors.empty() && !(ColumnRules() == before)) WrapOptionChanged();
    return FEditors.empty();
}

TRowListClient* TEditorScreenStrings::ActiveEditor() const {
    for (TRowListClient* e : FEditors)
        if (e->Focused()) return e;
    return OwnerEditor();
}

const TScanOptions& TEditorScreenStrings::ScanOptions() const {
    static const TScanOptions none;
    return FEditorOptions.empty() ? none : FEditorOptions.front().Scan;
}

const TColumnRules& TEditorScreenStrings::ColumnRules() const {
    static const TColumnRules defaults;
    return FEditorOptions.empty() ? defaults : FEditorOptions.front().Columns;
}

// --- Owned objects -----------------------------------------------------------------------------------------

std::unique_ptr<TEditorUndoObj> TEditorScreenStrings::CreateUndoObj() {
    return std::make_unique<TEditorUndoObj>(*this);
}

std::unique_ptr<TEditorWrapOption> TEditorScreenStrings::CreateWrapOption() {
    return std::make_unique<TEditorWrapOption>();
}

TEditorUndoObj& TEditorScreenStrings::UndoObj() {
    if (!FUndoObj) FUndoObj = CreateUndoObj();
    return *FUndoObj;
}

const TEditorUndoObj& TEditorScreenStrings::UndoObj() const {
    return const_cast<TEditorScreenStrings*>(this)->UndoObj();
}

TEditorWrapOption& TEditorScreenStrings::WrapOption() {
    if (!FWrapOption) {
        FWrapOption = CreateWrapOption();
        FWrapOption->SetOnChange([this](TNotifyPersistent*) { WrapOptionChanged(); });
    }
    return *FWrapOption;
}

const TEditorWrapOption& TEditorScreenStrings::WrapOption() const {
    return const_cast<TEditorScreenStrings*>(this)->WrapOption();
}

void TEditorScreenStrings::Undo() {
    UndoObj().Undo();
}
void TEditorScreenStrings::Redo() {
    UndoObj().Redo();
}

// --- Row-level operations
// ------------------------------------------------------------------------------------

int TEditorScreenStrings::LineFirstRow(int row) const {
    if (row < 0 || row > Count()) return row;  // Count() itself: the position after the last row
    while (row > 0 && RowEnd(row - 1) == reWrapped) --row;
    return row;
}

int TEditorScreenStrings::LineLastRow(int row) const {
    if (!InRange(row)) return row;
    const int last = Count() - 1;
    while (row < last && RowEnd(row) == reWrapped) ++row;
    return row;
}

TRowsText TEditorScreenStrings::RowsText(int first, int count, bool withShapes) const {
    TRowsText result;
    if (!InRange(first)) return result;
    int end;  // one past the last row taken
    if (count < 0)
        end = LineLastRow(first) + 1;
    else
        end = first + std::min(count, Count() - first);
    std::size_t bytes = 0;
    for (int r = first; r < end; ++r) bytes += RowText(r).size() + 2;
    result.Text.reserve(bytes);
    for (int r = first; r < end; ++r) {
        result.Text += RowText(r);
        if (RowEnd(r) == reLineBreak) result.Text += "\r\n";
    }
    result.Rows = end - first;
    if (withShapes) {
        result.RowShapes.reserve(static_cast<std::size_t>(result.Rows));
        for (int r = first; r < end; ++r)
            result.RowShapes.push_back({static_cast<std::int32_t>(RowText(r).size()), RowEnd(r)});
    }
    result.LastRowEnd = end > first ? RowEnd(end - 1) : reNone;
    return result;
}

void TEditorScreenStrings::DeleteRowRange(int first, int n) {
    if (!InRange(first) || n <= 0) return;
    Update update(*this);
    FRows.Erase(Index(first), static_cast<std::size_t>(n));
    Changed();
}

void TEditorScreenStrings::InsertRowList(int at, TEditorStringList& list) {
    if (at < 0 || at > Count() || list.Count() == 0) return;
    PutRowList(at, 0, list);
}

void TEditorScreenStrings::PutRowList(int at, int oldCount, TEditorStringList& list) {
    if (at < 0 || at > Count()) return;
    oldCount = std::clamp(oldCount, 0, Count() - at);
    Update update(*this);
    TRowBuffer& src = list.FRows;
    const int newCount = list.Count();
    const int common = std::min(oldCount, newCount);
    for (int k = 0; k < common; ++k) FRows.TakeRow(Index(at + k), src, Index(k));
    if (oldCount > newCount) {
        FRows.Erase(Index(at + common), static_cast<std::size_t>(oldCount - newCount));
    } else if (newCount > oldCount) {
        FRows.InsertEmpty(Index(at + common), static_cast<std::size_t>(newCount - oldCount));
        for (int k = common; k < newCount; ++k) FRows.TakeRow(Index(at + k), src, Index(k));
    }
    src.Clear();
    list.Touch();
    Changed();
}

void TEditorScreenStrings::AddEmptyRows(int n) {
    if (n <= 0) return;
    FRows.InsertEmpty(FRows.size(), static_cast<std::size_t>(n));
    Changed();
}

// --- ReplaceRows
// ---------------------------------------------------------------------------------------------------

void TEditorScreenStrings::ReplaceRows(int a, int count, std::string_view text) {
    const int n = Count();
    if (a < 0 || count < 0 || a + count > n || (count == 0 && text.empty())) return;
    if (a == n && n > 0 && RowEnd(n - 1) != reLineBreak) {
        // Appending after a last row that has no line break continues that row: it is an edit of that
        // row (so the row before it is re-wrapped too, and no second row gets reEndOfText).
        std::string joined(RowText(n - 1));
        joined += text;
        ReplaceRows(n - 1, 1, joined);
        return;
    }
    Update update(*this);

    // One row before a when a is not the first row of its line.
    const int p = std::max(LineFirstRow(a), a - 1);
    const int b = a + count - 1;
    int e = LineLastRow(b);

    if (p == a && e == b && text.empty()) {
        // Pure deletion of whole logical lines: nothing to re-wrap.
        TUndoData& record = UndoObj().NewRecord();
        record.FirstRow = a;
        TRowsText removed = RowsText(a, count, true);
        record.RemovedText = std::move(removed.Text);
        record.RemovedRowEnd = removed.LastRowEnd;
        record.RemovedRowShapes = std::move(removed.RowShapes);
        DeleteRowRange(a, count);
        const int scanned = ScanFrom(a, true);
        FChange = {a, removed.Rows, 0, scanned, true};
        return;
    }

    // Code of the new last row.
    TRowEnd last;
    if (b < e) {
        last = RowEnd(e);  // the range ends inside a logical line
    } else if (e + 1 < n) {
        e = LineLastRow(e + 1);  // the next logical line joins the range
        last = RowEnd(e);
    } else {
        // A lone CR ends a line like LF and CR LF do, so it keeps its line break here too.
        last = (!text.empty() && (text.back() == '\n' || text.back() == '\r')) ? reLineBreak : reEndOfText;
    }

    TUndoData& record = UndoObj().NewRecord();
    record.FirstRow = p;
    TRowsText removed = RowsText(p, e - p + 1, true);

    std::string joined;
    joined.reserve(removed.Text.size() + text.size());
    for (int r = p; r < a; ++r) {
        joined += RowText(r);
        if (RowEnd(r) == reLineBreak) joined += "\r\n";
    }
    joined += text;
    for (int r = b + 1; r <= e; ++r) {
        joined += RowText(r);
        if (RowEnd(r) == reLineBreak) joined += "\r\n";
    }

    // When the new text ends with a line break (the rows after the range added no bytes, e.g. an empty
    // last row without line break), the last new row keeps that line break: splitting drops the empty
    // line after it, so a code without one would lose it.
    if (!joined.empty() && (joined.back() == '\n' || joined.back() == '\r')) last = reLineBreak;

    TEditorStringList rows;
    WrapText(joined, rows);
    rows.SetRowEnd(rows.Count() - 1, last);
    const int inserted = rows.Count();

    record.RemovedText = std::move(removed.Text);
    record.RemovedRowEnd = removed.LastRowEnd;
    record.RemovedRowShapes = std::move(removed.RowShapes);
    record.InsertedRows = inserted;

    PutRowList(p, e - p + 1, rows);
    const int scanned = ScanFrom(p, true);
    FChange = {p, removed.Rows, inserted, scanned, true};
}

// --- Whole text
// -------------------------------------------------------------------------------------------------------

void TEditorScreenStrings::Clear() {
    for (TRowListClient* e : FEditors) e->CleanSelection();
    UndoObj().Clear();
    const bool hadRows = Count() > 0;
    FRows.Clear();
    FChange = {};
    if (hadRows) Changed();
    for (TRowListClient* e : FEditors) {
        e->SetRow(0);
        e->SetCol(0);
    }
}

void TEditorScreenStrings::ClampEditors() {
    const int last = Count() - 1;
    const int limit = (last >= 0 && RowEnd(last) == reEndOfText) ? last : Count();
    for (TRowListClient* e : FEditors) {
        if (e->Row() > last && e->Row() != limit) e->SetRow(limit);
        if (e->TopRow() > last && e->TopRow() != limit) e->SetTopRowDirect(limit);
    }
}

void TEditorScreenStrings::SetUpdateState(bool updating) {
    TEditorStringList::SetUpdateState(updating);  // fires OnChange when the update ends
    if (!updating) {
        FChange = {};
        ClampEditors();
    }
}
