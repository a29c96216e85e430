// What the caret and selection model tells the control that shows it.
//
// The model (TEditModel) keeps the caret, the anchor and the selection and edits the rows; everything it
// needs shown goes through this interface, so that it runs without a window: the TEditor widget
// implements it with repaints and its events, tests with a recorder.
#pragma once

#include "editor/edit/EditTypes.h"

class TEditView {
public:
    virtual ~TEditView() = default;

    // The caret reached its new place at the end of a move (intermediate steps of one placement are not
    // reported): show it there and scroll it into view.
    virtual void CaretPlaced() = 0;
    // The caret column is about to leave `col`, and has arrived at `col` (the ruler marks that column).
    virtual void CaretColumnLeaving(int col) = 0;
    virtual void CaretColumnEntered(int col) = 0;

    // Nesting guards of multi-step changes: while hidden, the caret (and the caret row's underline) is not
    // drawn. Every hide is matched by a show, also when an exception passes.
    virtual void HideCaretNested() = 0;
    virtual void ShowCaretNested() = 0;
    virtual void HideUnderline() = 0;
    virtual void ShowUnderline() = 0;

    // The active selection's columns changed from `before` to `after`: repaint the rows in between.
    virtual void SelectionChanged(const TSelectionColumns& before, const TSelectionColumns& after) = 0;
    // The active selection was dropped; `last` is the range that was shown.
    virtual void SelectionCancelled(const TSelectionColumns& last) = 0;
    // Box mode was switched on or off; `selectionActive` when a selection is shown in the new mode.
    virtual void SelectionModeChanged(bool selectionActive) = 0;

    // Whether the left mouse button is held: a vertical move then remembers no goal column past a row's end.
    virtual bool LeftButtonHeld() const = 0;
};
