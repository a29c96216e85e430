// One colour class of the editor: background, foreground and font style.
#pragma once

#include "editor/EditorTypes.h"
#include "editor/options/NotifyPersistent.h"

class TEditorColor : public TNotifyPersistent {
public:
    TEditorColor() = default;

    TColor BkColor() const { return FBkColor; }
    void SetBkColor(TColor value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles value);

    // Copies the three values and notifies once.
    void Assign(const TEditorColor& source);

private:
    TColor FBkColor = clWindow;
    TColor FColor = clWindowText;
    TFontStyles FStyle = 0;
};
