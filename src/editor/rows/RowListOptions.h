// What an editor lends the row list that it shows: the scanner's options and the column rules, as values.
// The row list keeps one per registered editor; the owner's rule wrapping and scanning.
#pragma once

#include "editor/scan/ScanOptions.h"
#include "editor/wrap/ColumnRules.h"

struct TRowListOptions {
    TScanOptions Scan;
    TColumnRules Columns;
};
