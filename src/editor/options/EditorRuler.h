// The column ruler above the text.
#pragma once

#include "editor/EditorTypes.h"
#include "editor/options/NotifyPersistent.h"

class TEditorRuler : public TNotifyPersistent {
public:
    TColor BkColor() const { return FBkColor; }
    void SetBkColor(TColor value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    bool Edge() const { return FEdge; }
    void SetEdge(bool value);
    // Columns between long gauge marks: clamped to 8..10 and rounded down to even, so 8 or 10.
    int GaugeRange() const { return FGaugeRange; }
    void SetGaugeRange(int value);
    TColor MarkColor() const { return FMarkColor; }
    void SetMarkColor(TColor value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);

    // Copies every value and notifies once.
    void Assign(const TEditorRuler& source);

private:
    TColor FBkColor = clBtnFace;
    TColor FColor = clBtnText;
    bool FEdge = true;
    int FGaugeRange = 10;
    TColor FMarkColor = clBtnText;
    bool FVisible = false;
};
