// TEditor: the filtering of keys while a mouse press or a selection drag is in progress.
#include "editor/widget/Editor.h"

bool TEditor::FilterKeyDuringGesture(QKeyEvent* /*event*/) {
    // No gesture holds keys back yet: every key reaches the key handlers.
    return false;
}
