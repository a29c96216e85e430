#include "editor/options/EditorColor.h"

void TEditorColor::SetBkColor(TColor value) {
    if (FBkColor == value) return;
    FBkColor = value;
    Changed();
}

void TEditorColor::SetColor(TColor value) {
    if (FColor == value) return;
    FColor = value;
    Changed();
}

void TEditorColor::SetStyle(TFontStyles value) {
    value &= kAllFontStyles;
    if (FStyle == value) return;
    FStyle = value;
    Changed();
}

void TEditorColor::Assign(const TEditorColor& source) {
    FBkColor = source.FBkColor;
    FColor = source.FColor;
    FStyle = source.FStyle;
    Changed();
}
