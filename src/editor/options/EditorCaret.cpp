#include "editor/options/EditorCaret.h"

#include <algorithm>

void TEditorCaret::SetStyle(TEditorCaretStyle value) {
    SetAndNotify(FStyle, value);
}

void TEditorCaret::SetTabSpaceCount(int value) {
    SetAndNotify(FTabSpaceCount, std::clamp(value, 2, 8) & ~1);
}

void TEditorCaret::Assign(const TEditorCaret& source) {
    if (&source == this) return;
    Update update(*this);
    FAutoCursor = source.FAutoCursor;
    FAutoIndent = source.FAutoIndent;
    FBackSpaceUnIndent = source.FBackSpaceUnIndent;
    FCursors.Assign(source.FCursors);
    FFreeCaret = source.FFreeCaret;
    FInTab = source.FInTab;
    FKeepCaret = source.FKeepCaret;
    FLockScroll = source.FLockScroll;
    FNextLine = source.FNextLine;
    FPrevSpaceIndent = source.FPrevSpaceIndent;
    FRowSelect = source.FRowSelect;
    FSelDragMode = source.FSelDragMode;
    FSelMove = source.FSelMove;
    FSoftTab = source.FSoftTab;
    FStyle = source.FStyle;
    FTabIndent = source.FTabIndent;
    FTabSpaceCount = source.FTabSpaceCount;
}
