// TEditorScreenStrings: editors, row-level operations, ReplaceRows, update state.
#include "editor/rows/EditorScreenStrings.h"

#include <algorithm>
#include <array>

#include "base/Strings.h"
#include "editor/rows/EditorUndoObj.h"
#include "editor/wrap/Delimiters.h"
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
    if (row == 0 || RowEnd(row - 1) != reWrapped) return row;
    // The row after the last line break before row (a long wrapped line is not walked).
    return LineStartRow(LineOfRow(row));
}

int TEditorScreenStrings::LineLastRow(int row) const {
    if (!InRange(row)) return row;
    const int last = Count() - 1;
    if (row == last || RowEnd(row) != reWrapped) return row;
    // The first line-break row after row, or the last row.
    const auto next = static_cast<std::size_t>(LineOfRow(row)) + 1;
    return std::min(static_cast<int>(FRows.PositionAfterLineBreak(next)) - 1, last);
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
            result.RowShapes.push_back({static_cast<std::uint32_t>(RowText(r).size()), RowEnd(r)});
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

// --- Offsets and logical lines
// ------------------------------------------------------------------------------

std::int64_t TEditorScreenStrings::RowOffset(int row) const {
    return FRows.Offset(Index(std::clamp(row, 0, Count())));
}

int TEditorScreenStrings::RowAtOffset(std::int64_t offset) const {
    const int n = Count();
    const int row = static_cast<int>(FRows.PositionAtOffset(offset));
    // Past the last row only when a line break ends the text (the empty row after it).
    return (row == n && n > 0 && RowEnd(n - 1) != reLineBreak) ? n - 1 : row;
}

int TEditorScreenStrings::LineOfRow(int row) const {
    return static_cast<int>(FRows.LineBreaksBefore(Index(std::clamp(row, 0, Count()))));
}

int TEditorScreenStrings::LineStartRow(int line) const {
    if (line <= 0) return 0;
    return static_cast<int>(FRows.PositionAfterLineBreak(static_cast<std::size_t>(line)));
}

void TEditorScreenStrings::AddEmptyRows(int n) {
    if (n <= 0) return;
    FRows.InsertEmpty(FRows.size(), static_cast<std::size_t>(n));
    Changed();
}

// --- ReplaceRows
// ---------------------------------------------------------------------------------------------------

namespace {

// The text with every line break (CR LF, lone CR, lone LF) as CR LF: the rows' own terms.
std::string CrLfBreaks(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            out += "\r\n";
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out += c;
        }
    }
    return out;
}

bool HasOnlyCrLfBreaks(std::string_view text) {
    for (std::size_t i = text.find_first_of("\r\n"); i != std::string_view::npos;
         i = text.find_first_of("\r\n", i + 2)) {
        if (text[i] != '\r' || i + 1 >= text.size() || text[i + 1] != '\n') return false;
    }
    return true;
}

}  // namespace

void TEditorScreenStrings::ReplaceRows(int a, int count, std::string_view text) {
    // An own copy (text may be a view of these rows), with the line breaks the rows' texts count.
    ReplaceRows(a, count, CrLfBreaks(text));
}

void TEditorScreenStrings::ReplaceRows(int a, int count, std::string&& text) {
    const int n = Count();
    if (a < 0 || count < 0 || a + count > n || (count == 0 && text.empty())) return;
    if (a == n && n > 0 && RowEnd(n - 1) != reLineBreak) {
        // Appending after a last row that has no line break continues that row: it is an edit of that
        // row (so the row before it is re-wrapped too, and no second row gets reEndOfText).
        std::string joined(RowText(n - 1));
        joined += text;
        ReplaceRows(n - 1, 1, std::move(joined));
        return;
    }
    if (!HasOnlyCrLfBreaks(text)) text = CrLfBreaks(text);
    const std::string inserted = std::move(text);
    const bool endsWithBreak = !inserted.empty() && inserted.back() == '\n';
    Update update(*this);

    // One row before a when a is not the first row of its line: a change may move its cut.
    const int p = (a > 0 && RowEnd(a - 1) == reWrapped) ? a - 1 : a;
    const int b = a + count - 1;
    int e = LineLastRow(b);

    if (p == a && e == b && inserted.empty()) {
        // Pure deletion of whole logical lines: nothing to re-wrap.
        TUndoData& record = UndoObj().NewRecord();
        record.FirstRow = a;
        TRowsText removed = RowsText(a, count, true);
        record.RemovedText = std::move(removed.Text);
        record.RemovedRowEnd = removed.LastRowEnd;
        record.RemovedRowShapes = std::move(removed.RowShapes);
        DeleteRowRange(a, count);
        const int scanned = Rescan(a, a, true);
        MergeChange({a, removed.Rows, 0, scanned, true});
        return;
    }

    // Code of the new last row, and whether the rest of a logical line (rows b+1..e) follows the text.
    TRowEnd last;
    bool joinsNext = false;
    if (b < e) {
        last = RowEnd(e);  // the range ends inside a logical line
    } else if (endsWithBreak) {
        last = reLineBreak;  // the text ends its own line: the next line stays as it is
    } else if (e + 1 < n) {
        e = LineLastRow(e + 1);  // the next logical line joins the range
        last = RowEnd(e);
        joinsNext = true;
    } else {
        last = reEndOfText;
    }
    const bool hasTail = e > b;

    // The new text from row p: row p when it comes before a (it has no line break), then the text.
    // (Only that case needs a joined copy: a large paste is not copied once more.)
    const std::size_t rowBefore = p < a ? RowText(p).size() : 0;
    std::string joined;
    std::string_view head = inserted;
    if (p < a) {
        joined.reserve(rowBefore + inserted.size());
        joined.append(RowText(p));
        joined += inserted;
        head = joined;
    }
    std::vector<std::string_view> lines;
    strings::ForEachLine(head, [&](std::string_view line) { lines.push_back(line); });
    std::string_view tailStart;  // bytes of the last line before the rows b+1..e
    if (hasTail && !lines.empty() && !endsWithBreak) {
        tailStart = lines.back();
        lines.pop_back();
    }

    const bool pStartsLine = p == 0 || RowEnd(p - 1) != reWrapped;
    TEditorStringList rows;
    for (std::size_t i = 0; i < lines.size(); ++i) WrapLineInto(lines[i], i == 0 ? pStartsLine : true, rows);
    int keptFrom = e + 1;  // first old row that stays as it is
    if (hasTail) {
        keptFrom = WrapTail(tailStart, b + 1, e, joinsNext ? b + 2 : b + 1,
                            lines.empty() && !endsWithBreak ? pStartsLine : true, last, rows);
    } else {
        rows.SetRowEnd(rows.Count() - 1, last);
    }
    const int removedRows = keptFrom - p;
    const int insertedRows = rows.Count();

    // The undo record: the shapes of the replaced rows and only the bytes that differ. The old text of
    // rows p..keptFrom-1 is row p, the old rows a..b, and a part of the rest of the line that the new rows
    // hold as well; so the change is where the old rows a..b and the inserted text differ.
    TUndoData& record = UndoObj().NewRecord();
    record.FirstRow = p;
    record.InsertedRows = insertedRows;
    record.RemovedRowShapes.reserve(static_cast<std::size_t>(removedRows));
    for (int r = p; r < keptFrom; ++r)
        record.RemovedRowShapes.push_back({static_cast<std::uint32_t>(RowText(r).size()), RowEnd(r)});
    record.RemovedRowEnd = removedRows > 0 ? RowEnd(keptFrom - 1) : reNone;
    // The old text is compared where it lies, a row and its line break at a time (no copy of it).
    const auto pieces = [this](int r) {
        return std::array<std::string_view, 2>{RowText(r),
                                               RowEnd(r) == reLineBreak ? std::string_view("\r\n") : ""};
    };
    std::size_t oldSize = 0;
    for (int r = a; r <= b; ++r) oldSize += RowText(r).size() + (RowEnd(r) == reLineBreak ? 2 : 0);
    const std::size_t shorter = std::min(oldSize, inserted.size());
    std::size_t same = 0;  // bytes equal at the start
    for (int r = a; r <= b && same < shorter; ++r) {
        bool differs = false;
        for (std::string_view piece : pieces(r)) {
            const std::size_t n = std::min(piece.size(), shorter - same);
            const std::size_t k = static_cast<std::size_t>(
                std::mismatch(piece.begin(), piece.begin() + n, inserted.begin() + same).first - piece.begin());
            same += k;
            if (k < piece.size()) {
                differs = true;
                break;
            }
        }
        if (differs) break;
    }
    std::size_t sameEnd = 0;  // and at the end
    for (int r = b; r >= a && sameEnd < shorter - same; --r) {
        bool differs = false;
        const auto both = pieces(r);
        for (auto piece = both.rbegin(); piece != both.rend(); ++piece) {
            const std::size_t n = std::min(piece->size(), shorter - same - sameEnd);
            const std::size_t k = static_cast<std::size_t>(
                std::mismatch(piece->rbegin(), piece->rbegin() + n, inserted.rbegin() + sameEnd).first -
                piece->rbegin());
            sameEnd += k;
            if (k < piece->size()) {
                differs = true;
                break;
            }
        }
        if (differs) break;
    }
    record.ChangeOffset = static_cast<std::int64_t>(rowBefore + same);
    record.RemovedText.clear();
    record.RemovedText.reserve(oldSize - same - sameEnd);
    std::size_t at = 0;  // offset of the piece in the old text
    for (int r = a; r <= b && at < oldSize - sameEnd; ++r)
        for (std::string_view piece : pieces(r)) {
            const std::size_t from = std::max(at, same), to = std::min(at + piece.size(), oldSize - sameEnd);
            if (from < to) record.RemovedText.append(piece.substr(from - at, to - from));
            at += piece.size();
        }
    record.InsertedLength = static_cast<std::int64_t>(inserted.size() - same - sameEnd);

    PutRowList(p, removedRows, rows);
    const int scanned = Rescan(p, p + insertedRows, true);
    MergeChange({p, removedRows, insertedRows, scanned, true});
}

void TEditorScreenStrings::MergeChange(const TChangeRecord& change) {
    if (!FChange.Pending) {
        FChange = change;
        FChange.Pending = true;
        return;
    }
    // The earlier changes took the rows before the update (old) to the rows before this change (mid);
    // this change takes mid to the rows now (new).
    const TChangeRecord& was = FChange;
    const int first = std::min(was.FirstRow, change.FirstRow);
    // End of everything replaced, in mid rows: after it both changes have only moved rows.
    const int midEnd = std::max(was.FirstRow + was.InsertedCount, change.FirstRow + change.RemovedCount);
    const int removed = midEnd - (was.InsertedCount - was.RemovedCount) - first;
    const int inserted = midEnd + (change.InsertedCount - change.RemovedCount) - first;
    // Rows to paint again, in new rows: what the earlier changes left to paint, moved by this change (or
    // covered by its rows when it falls inside them), and what this change left.
    int wasDirty = was.FirstRow + std::max(was.InsertedCount, was.ScannedCount);
    if (wasDirty >= change.FirstRow + change.RemovedCount)
        wasDirty += change.InsertedCount - change.RemovedCount;
    else if (wasDirty > change.FirstRow)
        wasDirty = change.FirstRow + change.InsertedCount;
    const int dirty = std::max(
        {first + inserted, wasDirty, change.FirstRow + std::max(change.InsertedCount, change.ScannedCount)});
    FChange = {first, removed, inserted, dirty - first, true};
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
