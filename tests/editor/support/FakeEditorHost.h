// The one fake editor of the model's tests: it keeps a caret and a top row, owns the options an editor
// hands to the row list (view, reserved words, column rules) and records every call the model makes.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "editor/RepaintTarget.h"
#include "editor/RowListClient.h"
#include "editor/options/EditorLeftbar.h"
#include "editor/options/EditorViewInfo.h"
#include "editor/rows/RowListOptions.h"
#include "editor/scan/EditorParser.h"
#include "editor/wrap/Delimiters.h"

class TFakeEditorHost : public TRowListClient, public TRepaintTarget {
public:
    TFakeEditorHost() { FillDefaultDelimiters(delimiters); }

    // The options as the editor hands them to the row list (AddEditor, SetEditorOptions) and to a scanner.
    TScanOptions ScanOptions() const { return {&view, &reserveWords}; }
    TColumnRules ColumnRules() const { return {delimiters, tabSpaceCount}; }
    TRowListOptions Options() const { return {ScanOptions(), ColumnRules()}; }
    void SetReserveWords(std::vector<std::string> words) {
        reserveWords = TEditorParser::SortReserveWords(std::move(words));
    }

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
    bool Focused() const override { return focused; }

    void CleanSelection() override { ++selectionCleared; }
    void HideCaretNested() override { ++caretHidden; }
    void ShowCaretNested() override { --caretHidden; }

    void StringsChanged() override { ++changes; }
    void InvalidateRow(int r) override { invalidatedRows.push_back(r); }
    void Refresh() override { ++refreshes; }
    void SetLinesUpdating(bool updating) override { linesUpdating = updating; }

    // Repaint requests, recorded as "rows a,b", "scroll row,delta", "all" and "bar a,b".
    void InvalidateRows(int first, int last) override { calls.push_back("rows " + Pair(first, last)); }
    void ScrollRowsFrom(int r, int delta) override { calls.push_back("scroll " + Pair(r, delta)); }
    void InvalidateTextArea() override { calls.push_back("all"); }
    void InvalidateLeftbarRows(int first, int last) override { calls.push_back("bar " + Pair(first, last)); }

    static std::string Pair(int a, int b) { return std::to_string(a) + "," + std::to_string(b); }

    int row = 0, col = 0, topRow = 0;
    int visibleRows = 20, rowHeight = 15, displayHeight = 300;
    int caretBaseRow = -1, caretOffset = -1;
    int selectionCleared = 0, caretHidden = 0, changes = 0, refreshes = 0;
    bool linesUpdating = false, focused = false;
    std::vector<int> invalidatedRows;
    std::vector<std::string> calls;

    TEditorViewInfo view;
    TEditorLeftbar leftbar;
    TReserveWordList reserveWords;
    TDelimiters delimiters;
    int tabSpaceCount = 8;
};
