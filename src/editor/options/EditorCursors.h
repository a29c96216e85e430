// The mouse cursors of the editor, by cursor number. All fields are plain: setting one notifies nobody.
#pragma once

#include <string_view>

#include "editor/EditorTypes.h"
#include "editor/options/NotifyPersistent.h"

class TEditorCursors : public TNotifyPersistent {
public:
    TEditorCursors();

    TCursor DefaultCursor() const { return FDefaultCursor; }
    void SetDefaultCursor(TCursor value) { FDefaultCursor = value; }
    TCursor DragSelCursor() const { return FDragSelCursor; }
    void SetDragSelCursor(TCursor value) { FDragSelCursor = value; }
    TCursor DragSelCopyCursor() const { return FDragSelCopyCursor; }
    void SetDragSelCopyCursor(TCursor value) { FDragSelCopyCursor = value; }
    TCursor InSelCursor() const { return FInSelCursor; }
    void SetInSelCursor(TCursor value) { FInSelCursor = value; }
    TCursor LeftMarginCursor() const { return FLeftMarginCursor; }
    void SetLeftMarginCursor(TCursor value) { FLeftMarginCursor = value; }

    // Copies the five cursors and notifies once.
    void Assign(const TEditorCursors& source);

    // The cursor numbers taken once per process for the editor's own cursors ("RightArrow" first, then
    // "DragSelCopy"); the control maps them to its cursor images.
    static TCursor RightArrowCursor();
    static TCursor DragSelCopyCursorSlot();

    // Takes the lowest cursor number from 1 up (at most 32767) that is still free, for the named cursor
    // resource; a name taken before gets its number again. crDefault when every number is taken.
    static TCursor RegisterCursor(std::string_view resourceName);
    // The resource name of a registered cursor number, empty for any other number.
    static std::string_view RegisteredCursorName(TCursor cursor);

private:
    TCursor FDefaultCursor = crIBeam;
    TCursor FDragSelCursor = crDrag;
    TCursor FDragSelCopyCursor;
    TCursor FInSelCursor = crDefault;
    TCursor FLeftMarginCursor;
};
