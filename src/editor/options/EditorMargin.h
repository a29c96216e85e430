// Spacing around the text: between characters, left of the text, between rows, above the first row.
#pragma once

#include "editor/options/NotifyPersistent.h"

class TEditorMargin : public TNotifyPersistent {
public:
    static constexpr int kMin = 0;
    static constexpr int kMax = 100;

    // Each setter clamps to 0..100 and notifies on a change.
    int Character() const { return FCharacter; }
    void SetCharacter(int value);
    int Left() const { return FLeft; }
    void SetLeft(int value);
    int Line() const { return FLine; }
    void SetLine(int value);
    int Top() const { return FTop; }
    void SetTop(int value);

    // Extra row height for the caret-row underline (1 while Marks.Underline is visible, else 0). Set by
    // the control when its marks change; a plain field that notifies nobody.
    int UnderlineSpace() const { return FUnderlineSpace; }
    void SetUnderlineSpace(int value) { FUnderlineSpace = value; }

    // Copies the five values and notifies once.
    void Assign(const TEditorMargin& source);

private:
    int FCharacter = 0;
    int FLeft = 19;
    int FLine = 0;
    int FTop = 2;
    int FUnderlineSpace = 0;
};
