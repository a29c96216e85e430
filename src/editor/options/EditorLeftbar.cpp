#include "editor/options/EditorLeftbar.h"

#include <algorithm>

void TEditorLeftbar::SetBkColor(TColor value) {
    SetAndNotify(FBkColor, value);
}
void TEditorLeftbar::SetColor(TColor value) {
    SetAndNotify(FColor, value);
}
void TEditorLeftbar::SetColumn(int value) {
    SetAndNotify(FColumn, std::clamp(value, kMinColumn, kMaxColumn));
}
void TEditorLeftbar::SetEdge(bool value) {
    SetAndNotify(FEdge, value);
}
void TEditorLeftbar::SetLeftMargin(int value) {
    SetAndNotify(FLeftMargin, value);
}
void TEditorLeftbar::SetRightMargin(int value) {
    SetAndNotify(FRightMargin, value);
}
void TEditorLeftbar::SetShowNumber(bool value) {
    SetAndNotify(FShowNumber, value);
}
void TEditorLeftbar::SetShowNumberMode(TEditorShowNumberMode value) {
    SetAndNotify(FShowNumberMode, value);
}
void TEditorLeftbar::SetVisible(bool value) {
    SetAndNotify(FVisible, value);
}
void TEditorLeftbar::SetZeroBase(bool value) {
    SetAndNotify(FZeroBase, value);
}
void TEditorLeftbar::SetZeroLead(bool value) {
    SetAndNotify(FZeroLead, value);
}

void TEditorLeftbar::Assign(const TEditorLeftbar& source) {
    FBkColor = source.FBkColor;
    FColor = source.FColor;
    FColumn = source.FColumn;
    FEdge = source.FEdge;
    FLeftMargin = source.FLeftMargin;
    FRightMargin = source.FRightMargin;
    FShowNumber = source.FShowNumber;
    FShowNumberMode = source.FShowNumberMode;
    FVisible = source.FVisible;
    FZeroBase = source.FZeroBase;
    FZeroLead = source.FZeroLead;
    Changed();
}
