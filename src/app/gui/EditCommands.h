// The edit commands of the main window (undo, cut, copy, paste, delete, select all) forwarded to the text
// control they act on: the document editor or one of the toolbar's line edits. Every call of the window
// goes through here, so the editor's clipboard commands are wired in this one place.
#pragma once

class QWidget;

namespace editcmd {

// What the enabling of the edit commands needs to know of a control (false for anything else).
bool HasSelection(const QWidget* control);
bool CanUndo(const QWidget* control);
// True when the system clipboard holds text.
bool ClipboardHasText();

void Undo(QWidget* control);
void Cut(QWidget* control);
void Copy(QWidget* control);
void Paste(QWidget* control);
void Delete(QWidget* control);
void SelectAll(QWidget* control);

}  // namespace editcmd
