// The editor's three marks, each bound to this object's ChildChanged.
#pragma once

#include "editor/options/EditorMark.h"

class TEditorMarks : public TNotifyPersistent {
public:
    TEditorMarks();

    TEditorMark& EofMark() { return FEofMark; }
    TEditorMark& RetMark() { return FRetMark; }
    TEditorMark& Underline() { return FUnderline; }
    const TEditorMark& EofMark() const { return FEofMark; }
    const TEditorMark& RetMark() const { return FRetMark; }
    const TEditorMark& Underline() const { return FUnderline; }

    // Setting a mark assigns into the owned object.
    void SetEofMark(const TEditorMark& value) { FEofMark.Assign(value); }
    void SetRetMark(const TEditorMark& value) { FRetMark.Assign(value); }
    void SetUnderline(const TEditorMark& value) { FUnderline.Assign(value); }

    // Copies the three marks with one notification.
    void Assign(const TEditorMarks& source);

private:
    TEditorMark FEofMark;
    TEditorMark FRetMark;
    TEditorMark FUnderline;
};
