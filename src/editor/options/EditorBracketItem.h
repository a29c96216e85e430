// One bracket pair of the token scanner: its left and right bracket texts (Shift-JIS, matched byte for
// byte) and the colour of the pair with its contents. Changing an item notifies nobody.
#pragma once

#include <string>

#include "editor/options/EditorColor.h"

class TEditorBracketCollection;

class TEditorBracketItem {
public:
    explicit TEditorBracketItem(TEditorBracketCollection* collection = nullptr) : FCollection(collection) {}
    TEditorBracketItem(const TEditorBracketItem&) = delete;
    TEditorBracketItem& operator=(const TEditorBracketItem&) = delete;

    TEditorColor& ItemColor() { return FItemColor; }
    const TEditorColor& ItemColor() const { return FItemColor; }
    void SetItemColor(const TEditorColor& value) { FItemColor.Assign(value); }

    const std::string& LeftBracket() const { return FLeftBracket; }
    void SetLeftBracket(std::string value) { FLeftBracket = std::move(value); }
    const std::string& RightBracket() const { return FRightBracket; }
    void SetRightBracket(std::string value) { FRightBracket = std::move(value); }

    // The collection that holds this item (none for a free-standing item).
    TEditorBracketCollection* Collection() const { return FCollection; }

    // Copies the colour and both brackets.
    void Assign(const TEditorBracketItem& source);

private:
    TEditorColor FItemColor;
    std::string FLeftBracket;
    std::string FRightBracket;
    TEditorBracketCollection* FCollection;
};
