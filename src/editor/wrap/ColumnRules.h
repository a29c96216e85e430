// The column rules of an editor: which bytes separate single-byte words (they decide where a wrap may cut)
// and how many columns a tab stop spans. The row list wraps with the rules of its owner editor, which hands
// them over as a value when it registers and again when they change.
#pragma once

#include "editor/EditorTypes.h"
#include "editor/wrap/Delimiters.h"

struct TColumnRules {
    TDelimiters Delimiters = DefaultDelimiters();
    int TabSpaceCount = 8;  // at least 1
    bool operator==(const TColumnRules&) const = default;
};
