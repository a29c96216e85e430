#include "editor/options/EditorBracketItem.h"

void TEditorBracketItem::Assign(const TEditorBracketItem& source) {
    if (&source == this) return;
    FItemColor.Assign(source.FItemColor);
    FLeftBracket = source.FLeftBracket;
    FRightBracket = source.FRightBracket;
}
