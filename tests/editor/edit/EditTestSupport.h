// A caret and selection model over a row list, without a window: the row list's editor forwards the
// caret calls of the rows (undo, clamping, clearing) to the model, and a recorder stands for the view.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "editor/edit/EditModel.h"
#include "editor/edit/EditView.h"
#include "editor/options/EditorCaret.h"
#include "editor/rows/EditorScreenStrings.h"
#include "editor/rows/EditorStrings.h"
#include "editor/rows/EditorUndoObj.h"
#include "editor/support/FakeEditorHost.h"
#include "editor/wrap/EditorWrapOption.h"
#include "text/ShiftJis.h"

namespace edittest {

// Records what the model asks of its view.
class TViewRecorder : public TEditView {
public:
    void CaretPlaced() override { ++placed; }
    void CaretColumnLeaving(int) override {}
    void CaretColumnEntered(int) override {}
    void HideCaretNested() override { ++caretHidden; }
    void ShowCaretNested() override { --caretHidden; }
    void HideUnderline() override { ++underlineHidden; }
    void ShowUnderline() override { --underlineHidden; }
    void SelectionChanged(const TSelectionColumns&, const TSelectionColumns& after) override {
        shown = after;
        selectionEvents.push_back(true);
    }
    void SelectionCancelled(const TSelectionColumns&) override { selectionEvents.push_back(false); }
    void SelectionModeChanged(bool) override { ++modeChanges; }
    bool LeftButtonHeld() const override { return leftButton; }

    int placed = 0;
    int caretHidden = 0;
    int underlineHidden = 0;
    int modeChanges = 0;
    bool leftButton = false;
    TSelectionColumns shown;
    std::vector<bool> selectionEvents;
};

// The rows' editor: caret calls go to the model; its TAB width is the caret options' (the fixture hands it
// to the row list).
class TModelHost : public TFakeEditorHost {
public:
    TEditModel* model = nullptr;
    const TEditorCaret* caret = nullptr;
    int Row() const override { return model->Row(); }
    int Col() const override { return model->Col(); }
    void SetRow(int r) override { model->SetRow(r); }
    void SetCol(int c) override { model->SetCol(c); }
    void MoveCaretToOffset(int baseRow, int offset) override { model->MoveCaretToOffset(baseRow, offset); }
    void CleanSelection() override { model->CleanSelection(); }
};

// One editor's model over its own row list. The caret options start as the main window sets them
// (no free caret, KeepCaret on).
struct TEditFixture {
    TEditFixture() {
        caret.SetFreeCaret(false);
        caret.SetKeepCaret(true);
        host.caret = &caret;
        host.model = &model;
        host.tabSpaceCount = caret.TabSpaceCount();
        rows.AddEditor(&host, host.Options());
        rows.UndoObj().SetCapacity(1 << 30);
    }
    ~TEditFixture() { rows.RemoveEditor(&host); }

    // A new text, caret at its start.
    void SetText(std::string_view text) { lines.SetTextStr(text); }
    std::string Text() const { return rows.RowsText(0, rows.Count()).Text; }
    void SetWrap(int wrapByte) {
        rows.WrapOption().SetWrapByte(wrapByte);
        rows.SetWordWrap(true);
    }
    void Undo() {
        model.CleanSelection();
        rows.Undo();
    }

    TEditorScreenStrings rows;
    TModelHost host;
    TEditorStrings lines{rows, &host};
    TEditorCaret caret;
    TViewRecorder view;
    TEditModel model{rows, caret, host.delimiters, view};
};

// Whether the caret can stand at offset o of the rows' text: at a character start of its row, not between
// CR and LF.
inline bool CaretPlace(const TEditorScreenStrings& rows, std::int64_t o) {
    std::int64_t start = 0;
    for (int r = 0; r < rows.Count(); ++r) {
        const std::string_view text = rows.RowText(r);
        const auto size = static_cast<std::int64_t>(text.size());
        const std::int64_t length = size + (rows.RowEnd(r) == reLineBreak ? 2 : 0);
        if (o < start + length)
            return o - start <= size && sjis::IsCharBoundary(text, static_cast<std::size_t>(o - start));
        start += length;
    }
    return o == start;
}

}  // namespace edittest
