#include "editor/rows/PointerStringList.h"

void TPointerStringList::Put(int i, std::string_view s) {
    if (!InRange(i)) return;
    FRows.SetText(Index(i), s);
    Changed();
}

int TPointerStringList::Add(std::string_view s) {
    const int index = Count();
    FRows.PushBack(s, 0);
    Changed();
    return index;
}

void TPointerStringList::Insert(int i, std::string_view s) {
    if (i < 0 || i > Count()) return;
    FRows.Insert(Index(i), s, 0);
    Changed();
}

void TPointerStringList::Delete(int i) {
    if (!InRange(i)) return;
    FRows.Erase(Index(i), 1);
    Changed();
}

void TPointerStringList::Clear() {
    if (FRows.empty()) return;
    FRows.Clear();
    Changed();
}

void TPointerStringList::AppendFrom(TPointerStringList& from) {
    if (from.FRows.empty()) return;
    if (FRows.empty()) {
        FRows.Swap(from.FRows);
    } else {
        const std::size_t at = FRows.size();
        const std::size_t n = from.FRows.size();
        FRows.InsertEmpty(at, n);
        for (std::size_t k = 0; k < n; ++k) FRows.TakeRow(at + k, from.FRows, k);
        from.FRows.Clear();
    }
    from.Touch();
    Changed();
}

void TPointerStringList::BeginUpdate() {
    if (FUpdateCount++ == 0) SetUpdateState(true);
}

void TPointerStringList::EndUpdate() {
    if (FUpdateCount <= 0) return;
    if (--FUpdateCount == 0) SetUpdateState(false);
}

void TPointerStringList::SetUpdateState(bool updating) {
    if (!updating && FOnChange) FOnChange();
}

void TPointerStringList::Changed() {
    ++FChangeStamp;
    if (FUpdateCount == 0 && FOnChange) FOnChange();
}
