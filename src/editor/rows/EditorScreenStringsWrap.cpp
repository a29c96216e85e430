// TEditorScreenStrings: word wrap (wrapping one line with the kinsoku rules, WrapText, RewrapAll,
// UnwrapAll, the WordWrap switch) and filling the rows from a whole text.
#include <algorithm>

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

// Cuts one line (no line breaks) into rows of at most W columns with the kinsoku rules. For each row
// emit(bytes, end) is called; when the line fills its previous row exactly and FollowRetMark is on,
// markLastAsBreak() turns that row into the line's last row instead of adding an empty one.
template <class Emit, class MarkLast>
void WrapLine(std::string_view line, const TWrapRules& rules, Emit&& emit, MarkLast&& markLastAsBreak) {
    const int w = rules.wrapByte;
    if (DisplayWidth(line, rules.tabSpaceCount, w) < w) {
        emit(line, reLineBreak);
        return;
    }
    const TEditorWrapOption& opt = rules.option;
    TEditorAttributeArray cur(line, ColumnMap(line, rules.delimiters, rules.tabSpaceCount, w));
    const int n = cur.Length();
    const int leadLimit = (w / 5) * 4;
    int d = 1;  // first column of the row being cut
    int f = 1;  // first byte of that row
    auto rowLength = [&] { return cur.Column() - d + 1; };
    cur.MoveTo(d + w - 1);
    for (;;) {
        if (cur.Code() == '0') {  // the rest of the line fits
            if (d < cur.Column())
                emit(line.substr(static_cast<std::size_t>(f - 1)), reLineBreak);
            else if (opt.FollowRetMark())
                markLastAsBreak();
            else
                emit(std::string_view(), reLineBreak);
            return;
        }
        if (cur.Code() == '4') {
            cur.Prev();  // never cut a two-byte character
        } else if (opt.WordBreak() && n - d + 1 > w) {
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
        emit(line.substr(static_cast<std::size_t>(f - 1), static_cast<std::size_t>(cur.ByteIndex() - f + 1)),
             reWrapped);
        cur.Next();
        while (cur.Code() == '3') cur.Next();  // fill columns never start a row
        f = cur.ByteIndex();
        d = cur.Column();
        cur.MoveTo(d + w - 1);
    }
}

// Appends the wrapped rows of one line to a row buffer-like list through add(bytes, end) and
// setLastEnd(end).
template <class List>
void AppendWrappedLine(std::string_view line, const TWrapRules& rules, List& list) {
    WrapLine(
        line, rules, [&](std::string_view row, TRowEnd end) { list.Add(row, end); },
        [&] { list.SetLastEnd(reLineBreak); });
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
    list.Clear();
    if (text.empty()) {
        list.Add(std::string_view());
        return;
    }
    list.Reserve(static_cast<int>(strings::EstimateLineCount(text)));
    if (!FWordWrap) {
        strings::ForEachLine(text, [&](std::string_view line) { list.Add(line); });
        return;
    }
    const TWrapRules rules = WrapRulesOf(*this);
    TListTarget target{list};
    strings::ForEachLine(text, [&](std::string_view line) { AppendWrappedLine(line, rules, target); });
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
    Clear();
    if (!text.empty()) {
        FRows.Reserve(strings::EstimateLineCount(text));
        if (FWordWrap) {
            const TWrapRules rules = WrapRulesOf(*this);
            TBufferTarget target{FRows};
            strings::ForEachLine(text,
                                 [&](std::string_view line) { AppendWrappedLine(line, rules, target); });
            target.SetLastEnd(reLineBreak);
        } else {
            strings::ForEachLine(text, [&](std::string_view line) { FRows.PushBack(line, 0); });
        }
    }
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
