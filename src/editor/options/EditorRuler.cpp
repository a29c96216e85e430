#include "editor/options/EditorRuler.h"

#include <algorithm>

void TEditorRuler::SetBkColor(TColor value) {
    SetAndNotify(FBkColor, value);
}
void TEditorRuler::SetColor(TColor value) {
    SetAndNotify(FColor, value);
}
void TEditorRuler::SetEdge(bool value) {
    SetAndNotify(FEdge, value);
}
void TEditorRuler::SetGaugeRange(int value) {
    SetAndNotify(FGaugeRange, std::clamp(value, 8, 10) & ~1);
}
void TEditorRuler::SetMarkColor(TColor value) {
    SetAndNotify(FMarkColor, value);
}
void TEditorRuler::SetVisible(bool value) {
    SetAndNotify(FVisible, value);
}

void TEditorRuler::Assign(const TEditorRuler& source) {
    FBkColor = source.FBkColor;
    FColor = source.FColor;
    FEdge = source.FEdge;
    FGaugeRange = source.FGaugeRange;
    FMarkColor = source.FMarkColor;
    FVisible = source.FVisible;
    Changed();
}
