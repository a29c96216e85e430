// The left bar beside the text: line or row numbers, colours and margins.
#pragma once

#include "editor/EditorTypes.h"
#include "editor/options/NotifyPersistent.h"

class TEditorLeftbar : public TNotifyPersistent {
public:
    static constexpr int kMinColumn = 1;
    static constexpr int kMaxColumn = 8;

    TColor BkColor() const { return FBkColor; }
    void SetBkColor(TColor value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    // Digits of the numbers, clamped to 1..8.
    int Column() const { return FColumn; }
    void SetColumn(int value);
    bool Edge() const { return FEdge; }
    void SetEdge(bool value);
    int LeftMargin() const { return FLeftMargin; }
    void SetLeftMargin(int value);
    int RightMargin() const { return FRightMargin; }
    void SetRightMargin(int value);
    bool ShowNumber() const { return FShowNumber; }
    void SetShowNumber(bool value);
    TEditorShowNumberMode ShowNumberMode() const { return FShowNumberMode; }
    void SetShowNumberMode(TEditorShowNumberMode value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    bool ZeroBase() const { return FZeroBase; }
    void SetZeroBase(bool value);
    bool ZeroLead() const { return FZeroLead; }
    void SetZeroLead(bool value);

    // Copies every value and notifies once.
    void Assign(const TEditorLeftbar& source);

private:
    TColor FBkColor = clBtnFace;
    TColor FColor = clWindowText;
    int FColumn = 4;
    bool FEdge = true;
    int FLeftMargin = 8;
    int FRightMargin = 4;
    bool FShowNumber = true;
    TEditorShowNumberMode FShowNumberMode = nmRow;
    bool FVisible = false;
    bool FZeroBase = false;
    bool FZeroLead = false;
};
