// TEditorScreenStrings: word wrap (wrapping one line with the kinsoku rules, WrapText, RewrapAll,
// UnwrapAll, the WordWrap switch) and filling the rows from a whole text.
#include <algorithm>
#include <limits>

#include "editor/wrap/ColumnMap.h"
#include "editor/wrap/EditorAttributeArray.h"
#include "editor/rows/EditorScreenStrings.h"
#include "editor/rows/EditorUndoObj.h"
#include "editor/wrap/EditorWrapOption.h"
#include "base/Strings.h"

class TEditorScreenStrings::TNotifySuspend {
public:
    explicit TNotifySuspend(TEditorScreenStrings& rows) : FRows(rows) { ++FRows.FNotifySuspended; }
    ~TNotifySuspend() { --FRows.FNotifySuspended; }
    TNotifySuspend(const TNotifySuspend&) = delete;
    TNotifySuspend& operator=(const TNotifySuspend&) = delete;

private:
    TEditorScreenStrings& FRows;
};

namespace {

// Everything wrapping one line needs, read once per job.
struct TWrapRules {
    const TEditorWrapOption& option;
    const TDelimiters& delimiters;
    int tabSpaceCount;
    int wrapByte;
};

TWrapRules WrapRulesOf(const TEditorScreenStrings& rows) {
    const TColumnRules& columns = rows.ColumnRules();
    return {rows.WrapOption(), columns.Delimiters, columns.TabSpaceCount, rows.WrapOption().WrapByte()};
}

// How a row cut ends: the line goes on, this is its last row, or the line filled its previous row exactly
// and with FollowRetMark that row becomes the last (no row of its own).
enum class TCutEnd { Wrapped, Last, PreviousIsLast };
struct TCut {
    std::size_t bytes;
    TCutEnd end;
};

// Bytes a cut looks at from the row's start: the row's columns (each byte is at least one column), up to 3
// columns of hanging punctuation and the characters next to the cut.
std::size_t CutWindow(const TWrapRules& rules) {
    return static_cast<std::size_t>(rules.wrapByte) + 16;
}

// Cuts the row that starts at rest[0] with the kinsoku rules. rest holds the line from the row's start: all
// of it to the line's end when toEnd, else at least CutWindow() bytes of it. firstRow: the row starts the
// line. The cut depends only on these bytes (column maps, TAB stops included, start at the row's start), so
// cutting a line again from any of its row starts gives the rows that follow it again.
TCut CutRow(std::string_view rest, bool toEnd, bool firstRow, const TWrapRules& rules) {
    const int w = rules.wrapByte;
    const std::size_t window = CutWindow(rules);
    const bool whole = toEnd && rest.size() <= window;  // rest reaches the line's end
    if (whole) {
        if (rest.empty() && !firstRow)  // the line filled its previous row exactly
            return {0, rules.option.FollowRetMark() ? TCutEnd::PreviousIsLast : TCutEnd::Last};
        if (DisplayWidth(rest, rules.tabSpaceCount, w) < w) return {rest.size(), TCutEnd::Last};
    }
    const std::string_view bytes = whole ? rest : rest.substr(0, window);
    const TEditorWrapOption& opt = rules.option;
    TEditorAttributeArray cur(bytes, ColumnMap(bytes, rules.delimiters, rules.tabSpaceCount, w));
    // Columns to the line's end; beyond the window the line is longer than anything a cut looks at.
    const int n = whole ? cur.Length() : std::numeric_limits<int>::max() / 2;
    const int leadLimit = (w / 5) * 4;
    auto rowLength = [&] { return cur.Column(); };
    cur.MoveTo(w);
    if (cur.Code() == '4') {
        cur.Prev();  // never cut a two-byte character
    } else if (opt.WordBreak() && n > w) {
        while (cur.Code() != '2' && cur.Code() != '3' && cur.Code() != '5' && rowLength() > w / 3)
            cur.PrevChar();
    }
    if (opt.FollowPunctuation()) {
        while (rowLength() < w + 2 && TEditorWrapOption::IsMember(cur.PeekNext(), opt.PunctuationStr())) {
            cur.Next();
            if (cur.Code() == '4') cur.Next();
        }
    }
    if (opt.Leading() && cur.Column() < n) {
        while (rowLength() > leadLimit && TEditorWrapOption::IsMember(cur.Current(), opt.LeadStr()))
            cur.PrevChar();
        if (cur.Column() + 1 < n) {
            std::string_view next = cur.PeekNext();
            std::string_view here = cur.Current();
            if (TEditorWrapOption::IsMember(next, opt.FollowStr())) {
                while (rowLength() > leadLimit && (TEditorWrapOption::IsMember(here, opt.LeadStr()) ||
                                                   TEditorWrapOption::IsMember(next, opt.FollowStr()))) {
                    cur.PrevChar();
                    next = here;
                    here = cur.Current();
                }
            }
        }
    }
    // The row ends with the byte under the cursor (the TAB itself on its fill columns, which never start a
    // row).
    return {static_cast<std::size_t>(cur.ByteIndex()), TCutEnd::Wrapped};
}

// Cuts one line (no line breaks) into rows of at most W columns. For each row emit(bytes, end) is called;
// when the line fills its previous row exactly and FollowRetMark is on, markLastAsBreak() turns that row
// into the line's last row instead of adding an empty one.
template <class Emit, class MarkLast>
void WrapLine(std::string_view line, const TWrapRules& rules, Emit&& emit, MarkLast&& markLastAsBreak,
              bool firstRow = true) {
    for (std::size_t pos = 0;; firstRow = false) {
        const std::string_view rest = line.substr(pos);
        const TCut cut = CutRow(rest, true, firstRow, rules);
        if (cut.end == TCutEnd::PreviousIsLast) {
            markLastAsBreak();
            return;
        }
        emit(rest.substr(0, cut.bytes), cut.end == TCutEnd::Last ? reLineBreak : reWrapped);
        if (cut.end == TCutEnd::Last) return;
        pos += cut.bytes;
    }
}

// Appends the wrapped rows of one line to a row buffer-like list through add(bytes, end) and
// setLastEnd(end).
template <class List>
void AppendWrappedLine(std::string_view line, const TWrapRules& rules, List& list, bool firstRow = true) {
    WrapLine(
        line, rules, [&](std::string_view row, TRowEnd end) { list.Add(row, end); },
        [&] { list.SetLastEnd(reLineBreak); }, firstRow);
}

// Adapter: a TEditorStringList as target of AppendWrappedLine.
struct TListTarget {
    TEditorStringList& list;
    void Add(std::string_view row, TRowEnd end) { list.SetRowEnd(list.Add(row), end); }
    void SetLastEnd(TRowEnd end) { list.SetRowEnd(list.Count() - 1, end); }
};

// Adapter: a bare row buffer as target (whole-text jobs build a new buffer and swap it in).
struct TBufferTarget {
    TRowBuffer& rows;
    void Add(std::string_view row, TRowEnd end) { rows.PushBack(row, static_cast<std::uint32_t>(end)); }
    void SetLastEnd(TRowEnd end) {
        const std::size_t last = rows.size() - 1;
        rows.SetWord(last, rowword::WithRowEnd(rows.Word(last), end));
    }
};

}  // namespace

void TEditorScreenStrings::WrapText(std::string_view text, TEditorStringList& list) const {
    // Filled apart and moved in at the end: text may be a view of list's rows.
    TEditorStringList rows;
    if (text.empty()) {
        rows.Add(std::string_view());
    } else {
        rows.Reserve(static_cast<int>(strings::EstimateLineCount(text)));
        strings::ForEachLine(text, [&](std::string_view line) { WrapLineInto(line, true, rows); });
    }
    list.Clear();
    list.AppendFrom(rows);
}

void TEditorScreenStrings::WrapLineInto(std::string_view line, bool firstRow, TEditorStringList& rows) const {
    if (!FWordWrap) {
        rows.Add(line);
        return;
    }
    const TWrapRules rules = WrapRulesOf(*this);
    TListTarget target{rows};
    AppendWrappedLine(line, rules, target, firstRow);
}

int TEditorScreenStrings::WrapTail(std::string_view start, int from, int to, int keepFrom, bool firstRow,
                                   TRowEnd last, TEditorStringList& rows) const {
    if (!FWordWrap) {
        std::string line(start);
        for (int r = from; r <= to; ++r) line += RowText(r);
        rows.SetRowEnd(rows.Add(line), last);
        return to + 1;
    }
    const TWrapRules rules = WrapRulesOf(*this);
    const std::size_t window = CutWindow(rules);
    // The line's bytes from `base` on: start, then the old rows up to (not including) row `next`.
    std::string bytes(start);
    std::size_t base = 0;
    int next = from;
    std::size_t pos = 0;  // start of the row being cut, counted from the line's start
    // The old row `old` starts at oldStart in the line.
    int old = from;
    std::size_t oldStart = start.size();
    for (;; firstRow = false) {
        while (old <= to && oldStart < pos) oldStart += RowText(old++).size();
        // From an old row's start on, the rows are cut as they were: keep them.
        if (old <= to && old >= keepFrom && oldStart == pos) return old;
        if (pos - base > 4096 && pos - base > bytes.size() / 2) {
            bytes.erase(0, pos - base);
            base = pos;
        }
        while (next <= to && bytes.size() - (pos - base) < window) bytes += RowText(next++);
        const std::string_view rest = std::string_view(bytes).substr(pos - base);
        const TCut cut = CutRow(rest, next > to, firstRow, rules);
        if (cut.end == TCutEnd::PreviousIsLast) {
            rows.SetRowEnd(rows.Count() - 1, last);
            return to + 1;
        }
        rows.SetRowEnd(rows.Add(rest.substr(0, cut.bytes)), cut.end == TCutEnd::Last ? last : reWrapped);
        if (cut.end == TCutEnd::Last) return to + 1;
        pos += cut.bytes;
    }
}

int TEditorScreenStrings::CountWrappedRows(std::string_view line) const {
    if (!FWordWrap) return 1;
    const TWrapRules rules = WrapRulesOf(*this);
    int rows = 0;
    WrapLine(
        line, rules, [&](std::string_view, TRowEnd) { ++rows; }, [] {});
    return rows;
}

void TEditorScreenStrings::AssignText(std::string_view text) {
    // Filled before the old rows go: text may be a view of them.
    TRowBuffer rows;
    if (!text.empty()) {
        rows.Reserve(strings::EstimateLineCount(text));
        if (FWordWrap) {
            const TWrapRules rules = WrapRulesOf(*this);
            TBufferTarget target{rows};
            strings::ForEachLine(text,
                                 [&](std::string_view line) { AppendWrappedLine(line, rules, target); });
            target.SetLastEnd(reLineBreak);
        } else {
            strings::ForEachLine(text, [&](std::string_view line) { rows.PushBack(line, 0); });
        }
    }
    Clear();
    FRows.Swap(rows);
    Changed();
}

void TEditorScreenStrings::RewrapAll() {
    if (Count() == 0) return;
    for (TRowListClient* e : FEditors) e->CleanSelection();
    TNotifySuspend suspend(*this);
    Update update(*this);
    const TRowEnd lastEnd = RowEnd(Count() - 1);
    const TWrapRules rules = WrapRulesOf(*this);
    TRowBuffer rows;
    rows.Reserve(FRows.size() + FRows.size() / 8);
    TBufferTarget target{rows};
    std::string line;
    const int n = Count();
    for (int r = 0; r < n;) {
        const int last = LineLastRow(r);
        if (last == r) {
            AppendWrappedLine(RowText(r), rules, target);
        } else {
            line.clear();
            for (int k = r; k <= last; ++k) line += RowText(k);
            AppendWrappedLine(line, rules, target);
        }
        r = last + 1;
    }
    target.SetLastEnd(lastEnd);
    // The scanner bits of each row word stay by index; every caller rescans.
    const std::size_t common = std::min(rows.size(), FRows.size());
    for (std::size_t i = 0; i < common; ++i)
        rows.SetWord(i, (FRows.Word(i) & 0xFFF0u) | (rows.Word(i) & 0xFu));
    FRows.Swap(rows);
    Changed();
}

void TEditorScreenStrings::UnwrapAll() {
    if (Count() == 0) return;
    for (TRowListClient* e : FEditors) e->CleanSelection();
    TRowEnd lastEnd = RowEnd(Count() - 1);
    if (lastEnd == reWrapped) lastEnd = reEndOfText;
    TNotifySuspend suspend(*this);
    Update update(*this);
    TRowBuffer rows;
    std::string line;
    const int n = Count();
    for (int r = 0; r < n;) {
        const int last = LineLastRow(r);
        if (last == r) {
            rows.PushBack(RowText(r), static_cast<std::uint32_t>(reLineBreak));
        } else {
            line.clear();
            for (int k = r; k <= last; ++k) line += RowText(k);
            rows.PushBack(line, static_cast<std::uint32_t>(reLineBreak));
        }
        r = last + 1;
    }
    rows.SetWord(rows.size() - 1, static_cast<std::uint32_t>(lastEnd));
    FRows.Swap(rows);
    Changed();
}

void TEditorScreenStrings::SetWordWrap(bool value) {
    if (value == FWordWrap) return;
    FWordWrap = value;
    UndoObj().Clear();
    if (value)
        RewrapAll();
    else
        UnwrapAll();
    ScanAll();
    const std::vector<TRowListClient*> editors = FEditors;
    for (TRowListClient* e : editors) e->Refresh();
    ClampEditors();
    for (TRowListClient* e : editors) e->SetCol(0);
}

void TEditorScreenStrings::WrapOptionChanged() {
    if (!FWordWrap) return;
    UndoObj().Clear();
    RewrapAll();
    ScanAll();
    const std::vector<TRowListClient*> editors = FEditors;
    for (TRowListClient* e : editors) e->Refresh();
    ClampEditors();
    for (TRowListClient* e : editors) e->SetCol(0);
}
