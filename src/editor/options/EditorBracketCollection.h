// The bracket pairs of the token scanner, at most 14 (a row stores the open pair's index in four bits).
//
// The collection notifies its OnChange after an item is added or deleted, after Clear, and once at the end
// of an update; changing an item itself notifies nobody.
#pragma once

#include <memory>
#include <vector>

#include "editor/options/EditorBracketItem.h"
#include "editor/options/NotifyPersistent.h"

class TEditorBracketCollection : public TNotifyPersistent {
public:
    static constexpr int kMaxItems = 14;

    TEditorBracketCollection() = default;

    int Count() const { return static_cast<int>(FItems.size()); }
    // The pair at index; raises EEditorListError for an index out of range.
    TEditorBracketItem& Items(int index) { return *FItems[CheckedIndex(index)]; }
    const TEditorBracketItem& Items(int index) const { return *FItems[CheckedIndex(index)]; }
    TEditorBracketItem& operator[](int index) { return Items(index); }
    const TEditorBracketItem& operator[](int index) const { return Items(index); }

    // Appends an empty pair. Raises EEditorListError ("TEditorBracketCollection\r\nYou can not add item
    // over 14") when 14 pairs are held already; the collection is then unchanged.
    TEditorBracketItem& Add();
    // Appends a pair with the given brackets (same limit as Add).
    TEditorBracketItem& Add(std::string left, std::string right);
    // Removes one pair; an index out of range does nothing.
    void Delete(int index);
    void Clear();

    // Clears, then adds a copy of every pair of source, with one notification.
    void Assign(const TEditorBracketCollection& source);

    // Write one field of every pair's ItemColor, with one notification.
    void SetAllBkColor(TColor value);
    void SetAllColor(TColor value);
    void SetAllStyle(TFontStyles value);

private:
    std::size_t CheckedIndex(int index) const {
        if (index < 0 || index >= Count()) ThrowIndexError(index);
        return static_cast<std::size_t>(index);
    }
    [[noreturn]] static void ThrowIndexError(int index);

    std::vector<std::unique_ptr<TEditorBracketItem>> FItems;
};
