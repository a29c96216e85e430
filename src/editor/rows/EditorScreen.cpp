#include "editor/rows/EditorScreen.h"

#include <algorithm>
#include <cstdlib>

#include "editor/options/EditorLeftbar.h"
#include "editor/rows/EditorScreenStrings.h"

void TEditorScreen::Update(const TChangeRecord& change, int rowCount) {
    if (!change.Pending) return;
    const int p = change.FirstRow;
    const int r = change.RemovedCount;
    const int s = change.InsertedCount;
    const int k = change.ScannedCount;
    const int v = FEditor.VisibleRows();
    if (std::abs(s - r) > v) {
        FEditor.InvalidateTextArea();
        return;
    }
    const int c = p + s + std::max(0, k - s);  // the row after the last changed or rescanned row
    const int last = rowCount - 1;
    if (r == s) {
        FEditor.InvalidateRows(p, c > last ? c : c - 1);
    } else {
        FEditor.InvalidateRows(p, c - 1);
        FEditor.ScrollRowsFrom(c, s - r);
        if (c > last) FEditor.InvalidateRows(c, c);
    }
    const TEditorLeftbar& bar = FLeftbar;
    if (!bar.Visible() || !bar.ShowNumber()) return;
    if (bar.ShowNumberMode() == nmLine) {
        FEditor.InvalidateLeftbarRows(c, p + v);
    } else if (r != s && FEditor.TopRow() + v >= rowCount) {
        FEditor.InvalidateLeftbarRows(c, p + v);
    }
}
