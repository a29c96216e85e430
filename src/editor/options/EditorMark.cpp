#include "editor/options/EditorMark.h"

void TEditorMark::SetColor(TColor value) {
    if (FColor == value) return;
    FColor = value;
    Changed();
}

void TEditorMark::SetVisible(bool value) {
    if (FVisible == value) return;
    FVisible = value;
    Changed();
}

void TEditorMark::Assign(const TEditorMark& source) {
    FColor = source.FColor;
    FVisible = source.FVisible;
    Changed();
}
