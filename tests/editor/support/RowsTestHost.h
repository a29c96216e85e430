// A fake editor for the row-list tests: keeps a caret, a top row and the options the model reads, and
// records the calls the model makes.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "editor/wrap/Delimiters.h"
#include "editor/EditorHost.h"
#include "editor/options/EditorLeftbar.h"
#include "editor/options/EditorViewInfo.h"

class TRowsTestHost : public TEditorHost {
public:
    TRowsTestHost() { FillDefaultDelimiters(delimiters); }

    int Row() const override { return row; }
    int Col() const override { return col; }
    void SetRow(int r) override { row = r; }
    void SetCol(int c) override { col = c; }
    void MoveCaretToOffset(int baseRow, int offset) override {
        caretBaseRow = baseRow;
        caretOffset = offset;
    }
    int TopRow() const override { return topRow; }
    void SetTopRowDirect(int r) override { topRow = r; }
    int VisibleRows() const override { return visibleRows; }
    int RowHeight() const override { return rowHeight; }
    int DisplayHeight() const override { return displayHeight; }

    void CleanSelection() override { ++selectionCleared; }
    void HideCaretNested() override { ++caretHidden; }
    void ShowCaretNested() override { --caretHidden; }

    void StringsChanged() override { ++changes; }
    void InvalidateRow(int r) override { invalidatedRows.push_back(r); }
    void Refresh() override { ++refreshes; }
    void SetLinesUpdating(bool updating) override { linesUpdating = updating; }

    void InvalidateRows(int first, int last) override { calls.push_back("rows " + Pair(first, last)); }
    void ScrollRowsFrom(int r, int delta) override { calls.push_back("scroll " + Pair(r, delta)); }
    void InvalidateTextArea() override { calls.push_back("all"); }
    void InvalidateLeftbarRows(int first, int last) override { calls.push_back("bar " + Pair(first, last)); }

    const TEditorViewInfo& View() const override { return view; }
    const TEditorLeftbar& Leftbar() const override { return leftbar; }
    const TReserveWordList& ReserveWordList() const override { return reserveWords; }
    const TDelimiters& Delimiters() const override { return delimiters; }
    int TabSpaceCount() const override { return tabSpaceCount; }
    bool IsLoading() const override { return loading; }
    bool Focused() const override { return focused; }

    static std::string Pair(int a, int b) { return std::to_string(a) + "," + std::to_string(b); }

    int row = 0, col = 0, topRow = 0;
    int visibleRows = 20, rowHeight = 15, displayHeight = 300;
    int caretBaseRow = -1, caretOffset = -1;
    int selectionCleared = 0, caretHidden = 0, changes = 0, refreshes = 0;
    bool linesUpdating = false, loading = false, focused = false;
    int tabSpaceCount = 8;
    std::vector<int> invalidatedRows;
    std::vector<std::string> calls;
    TEditorViewInfo view;
    TEditorLeftbar leftbar;
    TReserveWordList reserveWords;
    TDelimiters delimiters;
};
