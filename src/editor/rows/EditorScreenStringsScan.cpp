// TEditorScreenStrings: the token scanner states stored in the rows (ScanRow, ScanFrom, ScanAll).
#include <algorithm>
#include <string>

#include "editor/options/EditorBracketCollection.h"
#include "editor/scan/EditorParser.h"
#include "editor/rows/EditorScreenStrings.h"
#include "editor/options/EditorViewInfo.h"

namespace {

// Takes (kind, bracket) at the start of row to the start of the next row with a scanner of the job.
void ScanOneRow(const TEditorScreenStrings& rows, TEditorParser& parser, std::string& text, int row,
                int& kind, int& bracket) {
    const bool wrapped = rows.RowEnd(row) == reWrapped;
    if (kind == tokComment) {  // the comment covers the row
        if (!wrapped) kind = tokNone;
        return;
    }
    const std::string_view own = rows.RowText(row);
    const int n = static_cast<int>(own.size());
    text.assign(own);
    // Tokens crossing the end of a wrapped row are seen whole.
    if (wrapped && row + 1 < rows.Count()) text += rows.RowText(row + 1);
    int tokenBracket = bracket;
    parser.ResetScan(text.c_str(), parser.Options(), kind, bracket);
    if (kind == tokBracket && parser.TokenOffset() > n) return;  // the row holds no token of its own
    while (parser.Kind() != tokNone) {
        kind = parser.Kind();
        bracket = parser.Bracket();
        if (kind == tokBracket) tokenBracket = parser.BracketIndex();
        if (parser.TokenOffset() + parser.TokenLength() >= n) break;
        parser.NextToken();
    }
    if (kind == tokBracket && bracket != kBracketNone) return;  // a pair is still open: carried as it is
    const int start = parser.TokenOffset();
    const int end = start + parser.TokenLength();
    if (parser.Kind() != tokNone && start < n && end > n) {
        // The last token continues on the next row.
        if (kind == tokBracket)
            bracket = tokenBracket;
        else if (parser.IsReserveWord())
            kind = tokReserved;
    } else {
        kind = tokNone;
    }
}

}  // namespace

void TEditorScreenStrings::SetParserFactory(TParserFactory factory) {
    FParserFactory = std::move(factory);
}

std::unique_ptr<TEditorParser> TEditorScreenStrings::CreateParser(int bracket) const {
    if (FParserFactory) return FParserFactory(ScanOptions(), bracket);
    return std::make_unique<TEditorParser>(ScanOptions(), bracket);
}

int TEditorScreenStrings::ScanDepth() const {
    const TRowListClient* owner = OwnerEditor();
    if (!owner) return 0;
    return std::max(0, owner->DisplayHeight()) / std::max(owner->RowHeight(), 1);
}

void TEditorScreenStrings::ScanRow(int row, int& kind, int& bracket) const {
    if (!InRange(row)) return;
    std::unique_ptr<TEditorParser> parser = CreateParser(bracket);
    std::string text;
    ScanOneRow(*this, *parser, text, row, kind, bracket);
}

int TEditorScreenStrings::ScanFrom(int row, bool notify) {
    return Rescan(row, row, notify);
}

int TEditorScreenStrings::Rescan(int row, int newRowsEnd, bool notify) {
    const int n = Count();
    if (n == 0 || row < 0) return 0;
    row = std::min(row, n);
    std::unique_ptr<TEditorParser> parser = CreateParser(kBracketNone);
    std::string text;

    // Start from the nearest row above that holds a state.
    int kind = tokNone;
    int bracket = kBracketNone;
    int r = row - 1;
    while (r >= 0 && RowBracket(r) == kBracketNotScanned) --r;
    if (r >= 0) {
        kind = RowEntryKind(r);
        bracket = RowBracket(r);
        ScanOneRow(*this, *parser, text, r, kind, bracket);
    }
    ++r;

    const int lastScan = std::min(row + 2 * ScanDepth(), n - 1);
    const std::vector<TRowListClient*> editors = FEditors;
    int count = 0;
    bool agreed = false;
    for (; r <= lastScan; ++r) {
        // The rows below already hold valid states once a row's stored state equals the computed one.
        // (Both fields count: with word wrap a token kind may cross a row while no bracket is open.)
        if (RowBracket(r) == bracket && RowEntryKind(r) == kind) {
            agreed = true;
            break;
        }
        SetRowWord(r, rowword::WithRowEntryKind(rowword::WithRowBracket(RowWord(r), bracket), kind));
        if (notify) {
            ++count;
            for (TRowListClient* e : editors) e->InvalidateRow(r);
        }
        ScanOneRow(*this, *parser, text, r, kind, bracket);
    }
    if (!agreed) {
        // The states below may be stale: they are scanned again when needed (the painter does it). Below
        // the first row that is already unscanned every row is (the rows a change just put in aside).
        for (; r < n; ++r) {
            if (r >= newRowsEnd && RowBracket(r) == kBracketNotScanned) break;
            SetRowWord(r, rowword::WithRowEnd(0, RowEnd(r)));
        }
    }
    return count;
}

void TEditorScreenStrings::ScanAll() {
    const int n = Count();
    const TRowListClient* owner = OwnerEditor();
    const TEditorViewInfo* view = ScanOptions().View;
    const bool carried = FWordWrap || (view && view->Brackets().Count() > 0);
    if (!carried) {
        for (int r = 0; r < n; ++r) SetRowWord(r, rowword::Make(RowEnd(r), kBracketNone, tokNone));
        return;
    }
    for (int r = 0; r < n; ++r) SetRowWord(r, rowword::WithRowEnd(0, RowEnd(r)));
    if (n == 0) return;
    const int top = owner ? std::max(0, owner->TopRow()) : 0;
    const int last = std::min(n - 1, top + 2 * ScanDepth());
    std::unique_ptr<TEditorParser> parser = CreateParser(kBracketNone);
    std::string text;
    int kind = tokNone;
    int bracket = kBracketNone;
    for (int r = 0; r <= last; ++r) {
        SetRowWord(r, rowword::Make(RowEnd(r), bracket, kind));
        ScanOneRow(*this, *parser, text, r, kind, bracket);
    }
}
