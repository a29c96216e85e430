// The class of the temporary row lists used while wrapping and undoing: a row list with nothing added.
#pragma once

#include "editor/rows/PointerStringList.h"

class TEditorStringList : public TPointerStringList {};
