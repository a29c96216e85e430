// Caret and keyboard behaviour of the editor. Only Style and TabSpaceCount notify; the other settings are
// plain fields read when they are used. The owned Cursors is not bound to this object.
#pragma once

#include "editor/options/EditorCursors.h"

class TEditorCaret : public TNotifyPersistent {
public:
    TEditorCaret() = default;

    bool AutoCursor() const { return FAutoCursor; }
    void SetAutoCursor(bool value) { FAutoCursor = value; }
    bool AutoIndent() const { return FAutoIndent; }
    void SetAutoIndent(bool value) { FAutoIndent = value; }
    bool BackSpaceUnIndent() const { return FBackSpaceUnIndent; }
    void SetBackSpaceUnIndent(bool value) { FBackSpaceUnIndent = value; }
    TEditorCursors& Cursors() { return FCursors; }
    const TEditorCursors& Cursors() const { return FCursors; }
    void SetCursors(const TEditorCursors& value) { FCursors.Assign(value); }
    bool FreeCaret() const { return FFreeCaret; }
    void SetFreeCaret(bool value) { FFreeCaret = value; }
    bool InTab() const { return FInTab; }
    void SetInTab(bool value) { FInTab = value; }
    bool KeepCaret() const { return FKeepCaret; }
    void SetKeepCaret(bool value) { FKeepCaret = value; }
    bool LockScroll() const { return FLockScroll; }
    void SetLockScroll(bool value) { FLockScroll = value; }
    bool NextLine() const { return FNextLine; }
    void SetNextLine(bool value) { FNextLine = value; }
    bool PrevSpaceIndent() const { return FPrevSpaceIndent; }
    void SetPrevSpaceIndent(bool value) { FPrevSpaceIndent = value; }
    bool RowSelect() const { return FRowSelect; }
    void SetRowSelect(bool value) { FRowSelect = value; }
    TDragMode SelDragMode() const { return FSelDragMode; }
    void SetSelDragMode(TDragMode value) { FSelDragMode = value; }
    bool SelMove() const { return FSelMove; }
    void SetSelMove(bool value) { FSelMove = value; }
    bool SoftTab() const { return FSoftTab; }
    void SetSoftTab(bool value) { FSoftTab = value; }
    TEditorCaretStyle Style() const { return FStyle; }
    void SetStyle(TEditorCaretStyle value);
    bool TabIndent() const { return FTabIndent; }
    void SetTabIndent(bool value) { FTabIndent = value; }
    // Columns per TAB stop: clamped to 2..8, then rounded down to even (2, 4, 6 or 8).
    int TabSpaceCount() const { return FTabSpaceCount; }
    void SetTabSpaceCount(int value);

    // Copies every setting, Cursors included, with one notification.
    void Assign(const TEditorCaret& source);

private:
    bool FAutoCursor = true;
    bool FAutoIndent = true;
    bool FBackSpaceUnIndent = true;
    TEditorCursors FCursors;
    bool FFreeCaret = true;
    bool FInTab = false;
    bool FKeepCaret = false;
    bool FLockScroll = false;
    bool FNextLine = false;
    bool FPrevSpaceIndent = false;
    bool FRowSelect = true;
    TDragMode FSelDragMode = dmAutomatic;
    bool FSelMove = true;
    bool FSoftTab = false;
    TEditorCaretStyle FStyle = csDefault;
    bool FTabIndent = false;
    int FTabSpaceCount = 8;
};
