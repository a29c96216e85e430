#include "editor/options/EditorColors.h"

TEditorColors::TEditorColors() {
    FItems[ciSelect].SetBkColor(clNavy);
    FItems[ciSelect].SetColor(clWhite);
    for (auto& item : FItems) Own(item);
}

void TEditorColors::SetAllBkColor(TColor value) {
    Update update(*this);
    for (int i = 0; i < ciCount; ++i)
        if (i != ciSelect) FItems[i].SetBkColor(value);
}

void TEditorColors::SetAllColor(TColor value) {
    Update update(*this);
    for (int i = 0; i < ciCount; ++i)
        if (i != ciSelect) FItems[i].SetColor(value);
}

void TEditorColors::SetAllStyle(TFontStyles value) {
    Update update(*this);
    for (int i = 0; i < ciCount; ++i)
        if (i != ciSelect) FItems[i].SetStyle(value);
}

void TEditorColors::Assign(const TEditorColors& source) {
    Update update(*this);
    for (int i = 0; i < ciCount; ++i) FItems[i].Assign(source.FItems[i]);
}
