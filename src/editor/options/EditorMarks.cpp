#include "editor/options/EditorMarks.h"

TEditorMarks::TEditorMarks() {
    Own(FEofMark);
    Own(FRetMark);
    Own(FUnderline);
}

void TEditorMarks::Assign(const TEditorMarks& source) {
    Update update(*this);
    FEofMark.Assign(source.FEofMark);
    FRetMark.Assign(source.FRetMark);
    FUnderline.Assign(source.FUnderline);
}
