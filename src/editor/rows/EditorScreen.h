// The repaint after a change of the rows, one object per editor: from the row list's ChangeRecord it
// decides which rows to invalidate and how far to scroll the rows below, and hands that to the editor's
// repaint target. The editor's left bar options tell whether line numbers below the change move.
#pragma once

#include "editor/RepaintTarget.h"

struct TChangeRecord;
class TEditorLeftbar;

class TEditorScreen {
public:
    // Both are the editor's own and outlive this object.
    TEditorScreen(TRepaintTarget& editor, const TEditorLeftbar& leftbar)
        : FEditor(editor), FLeftbar(leftbar) {}
    virtual ~TEditorScreen() = default;

    // Called from the editor's change handler with the row list's ChangeRecord and row count (after the
    // change). Nothing when no change is pending. When more rows came or went than the editor shows, the
    // whole text area is repainted. Otherwise the changed and rescanned rows are invalidated, the rows
    // below them (from the first unchanged row c, counted after the change) are scrolled by the change in
    // row count, and the left bar's numbers from c down are repainted when they may have changed.
    virtual void Update(const TChangeRecord& change, int rowCount);

private:
    TRepaintTarget& FEditor;
    const TEditorLeftbar& FLeftbar;
};
