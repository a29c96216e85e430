// A TEditorHost for tests of the text model: plain fields for everything the model reads, and a log of
// every call that the model makes to change the editor.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "editor/EditorHost.h"
#include "editor/options/EditorLeftbar.h"
#include "editor/scan/EditorParser.h"
#include "editor/options/EditorViewInfo.h"

class TFakeEditorHost : public TEditorHost {
public:
    struct TCall {
        std::string name;
        int a = 0;
        int b = 0;
        bool operator==(const TCall&) const = default;
    };

    // What the model reads; tests set these directly.
    int row = 0;
    int col = 0;
    int topRow = 0;
    int visibleRows = 20;
    int rowHeight = 12;
    int displayHeight = 240;
    int tabSpaceCount = 8;
    bool loading = false;
    bool focused = false;
    TEditorViewInfo view;
    TEditorLeftbar leftbar;
    TReserveWordList reserveWords;
    TDelimiters delimiters;

    // Nesting depth of HideCaretNested / ShowCaretNested (0 when balanced).
    int caretHidden = 0;
    // Every mutating call, in order.
    std::vector<TCall> calls;

    // Sets the reserved words, sorted and without duplicates as the list must be kept.
    void SetReserveWords(std::vector<std::string> words) {
        auto less = [](const std::string& a, const std::string& b) {
            return TEditorParser::CompareReserveWord(a, b) < 0;
        };
        auto same = [](const std::string& a, const std::string& b) {
            return TEditorParser::CompareReserveWord(a, b) == 0;
        };
        std::sort(words.begin(), words.end(), less);
        words.erase(std::unique(words.begin(), words.end(), same), words.end());
        reserveWords = std::move(words);
    }

    int CountOf(std::string_view name) const {
        return static_cast<int>(
            std::count_if(calls.begin(), calls.end(), [&](const TCall& c) { return c.name == name; }));
    }
    std::vector<TCall> CallsOf(std::string_view name) const {
        std::vector<TCall> result;
        for (const TCall& c : calls)
            if (c.name == name) result.push_back(c);
        return result;
    }
    void ClearCalls() { calls.clear(); }

    int Row() const override { return row; }
    int Col() const override { return col; }
    void SetRow(int value) override {
        row = value;
        Log("SetRow", value);
    }
    void SetCol(int value) override {
        col = value;
        Log("SetCol", value);
    }
    void MoveCaretToOffset(int baseRow, int offset) override { Log("MoveCaretToOffset", baseRow, offset); }

    int TopRow() const override { return topRow; }
    void SetTopRowDirect(int value) override {
        topRow = value;
        Log("SetTopRowDirect", value);
    }
    int VisibleRows() const override { return visibleRows; }
    int RowHeight() const override { return rowHeight; }
    int DisplayHeight() const override { return displayHeight; }

    void CleanSelection() override { Log("CleanSelection"); }
    void HideCaretNested() override {
        ++caretHidden;
        Log("HideCaretNested");
    }
    void ShowCaretNested() override {
        --caretHidden;
        Log("ShowCaretNested");
    }

    void StringsChanged() override { Log("StringsChanged"); }
    void InvalidateRow(int value) override { Log("InvalidateRow", value); }
    void Refresh() override { Log("Refresh"); }
    void SetLinesUpdating(bool updating) override { Log("SetLinesUpdating", updating ? 1 : 0); }

    void InvalidateRows(int firstRow, int lastRow) override { Log("InvalidateRows", firstRow, lastRow); }
    void ScrollRowsFrom(int value, int delta) override { Log("ScrollRowsFrom", value, delta); }
    void InvalidateTextArea() override { Log("InvalidateTextArea"); }
    void InvalidateLeftbarRows(int firstRow, int lastRow) override {
        Log("InvalidateLeftbarRows", firstRow, lastRow);
    }

    const TEditorViewInfo& View() const override { return view; }
    const TEditorLeftbar& Leftbar() const override { return leftbar; }
    const TReserveWordList& ReserveWordList() const override { return reserveWords; }
    const TDelimiters& Delimiters() const override { return delimiters; }
    int TabSpaceCount() const override { return tabSpaceCount; }
    bool IsLoading() const override { return loading; }
    bool Focused() const override { return focused; }

private:
    void Log(const char* name, int a = 0, int b = 0) { calls.push_back({name, a, b}); }
};
