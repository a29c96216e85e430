#include "editor/options/EditorBracketCollection.h"

#include <string>

void TEditorBracketCollection::ThrowIndexError(int index) {
    throw EEditorListError("List index out of bounds (" + std::to_string(index) + ")");
}

TEditorBracketItem& TEditorBracketCollection::Add() {
    if (Count() >= kMaxItems)
        throw EEditorListError("TEditorBracketCollection\r\nYou can not add item over " +
                               std::to_string(kMaxItems));
    FItems.push_back(std::make_unique<TEditorBracketItem>(this));
    TEditorBracketItem& item = *FItems.back();
    Changed();
    return item;
}

TEditorBracketItem& TEditorBracketCollection::Add(std::string left, std::string right) {
    Update update(*this);
    TEditorBracketItem& item = Add();
    item.SetLeftBracket(std::move(left));
    item.SetRightBracket(std::move(right));
    return item;
}

void TEditorBracketCollection::Delete(int index) {
    if (index < 0 || index >= Count()) return;
    FItems.erase(FItems.begin() + index);
    Changed();
}

void TEditorBracketCollection::Clear() {
    if (FItems.empty()) return;
    FItems.clear();
    Changed();
}

void TEditorBracketCollection::Assign(const TEditorBracketCollection& source) {
    if (&source == this) return;
    Update update(*this);
    Clear();
    for (const auto& item : source.FItems) Add().Assign(*item);
}

void TEditorBracketCollection::SetAllBkColor(TColor value) {
    Update update(*this);
    for (auto& item : FItems) item->ItemColor().SetBkColor(value);
}

void TEditorBracketCollection::SetAllColor(TColor value) {
    Update update(*this);
    for (auto& item : FItems) item->ItemColor().SetColor(value);
}

void TEditorBracketCollection::SetAllStyle(TFontStyles value) {
    Update update(*this);
    for (auto& item : FItems) item->ItemColor().SetStyle(value);
}
