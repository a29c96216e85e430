#include "editor/options/EditorMargin.h"

#include <algorithm>

void TEditorMargin::SetCharacter(int value) {
    SetAndNotify(FCharacter, std::clamp(value, kMin, kMax));
}
void TEditorMargin::SetLeft(int value) {
    SetAndNotify(FLeft, std::clamp(value, kMin, kMax));
}
void TEditorMargin::SetLine(int value) {
    SetAndNotify(FLine, std::clamp(value, kMin, kMax));
}
void TEditorMargin::SetTop(int value) {
    SetAndNotify(FTop, std::clamp(value, kMin, kMax));
}

void TEditorMargin::Assign(const TEditorMargin& source) {
    FCharacter = source.FCharacter;
    FLeft = source.FLeft;
    FLine = source.FLine;
    FTop = source.FTop;
    FUnderlineSpace = source.FUnderlineSpace;
    Changed();
}
