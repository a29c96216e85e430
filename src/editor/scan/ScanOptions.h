// What the token scanner reads of an editor's options: the View (brackets, comment, quotation, prefixes,
// URL and mail recognition, colours) and the sorted reserved words. Both point at objects the editor owns
// for its whole life, so a copy of this value stays good while that editor is registered with the row
// list. A null member means the option is not there: a default TScanOptions scans with the first-byte
// table only and gives no colours.
#pragma once

#include "editor/EditorTypes.h"

class TEditorViewInfo;

struct TScanOptions {
    const TEditorViewInfo* View = nullptr;
    const TReserveWordList* ReserveWords = nullptr;
};
