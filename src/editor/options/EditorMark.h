// One visible mark of the editor (end-of-text mark, line-break mark, caret-row underline).
#pragma once

#include "editor/EditorTypes.h"
#include "editor/options/NotifyPersistent.h"

class TEditorMark : public TNotifyPersistent {
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);

    // Copies both values and notifies once.
    void Assign(const TEditorMark& source);

private:
    TColor FColor = clGray;
    bool FVisible = false;
};
