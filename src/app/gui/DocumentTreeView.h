// The document tree view and its selection model.
//
// TDocumentSelectionModel asks the window before the selection moves (OnChanging), so that the window can
// refuse the move (a forbidden word in the editor) or store the current document first. A single user
// gesture can reach the selection model several times for the same target (a mouse press sets the current
// index, then selects it); the answer for a target is kept until the next gesture, so that the window is
// asked once and a refusal warns once.
//
// TDocumentTreeView is the tree pane: whole-row single selection that stays visible without the focus,
// 19 px indentation, a right press that selects and asks for the tree menu, F2 and Delete on key release,
// in-place label editing started by F2 or a click on the selected node.
#pragma once

#include <QItemSelectionModel>
#include <QTreeView>
#include <functional>

class TDocumentSelectionModel : public QItemSelectionModel {
public:
    explicit TDocumentSelectionModel(QAbstractItemModel* model, QObject* parent = nullptr)
        : QItemSelectionModel(model, parent) {}

    // Asked before the selection moves to `to` (invalid: to no node). False refuses the move.
    std::function<bool(const QModelIndex& to)> OnChanging;

    // A new gesture (a mouse press, a key, a command of the window): the window is asked again.
    void NewGesture() {
        FDecided = QPersistentModelIndex();
        FHasDecision = false;
    }

    // Moves without asking, for the window's own housekeeping (emptying the selection before a deletion).
    class TBypass {
    public:
        explicit TBypass(TDocumentSelectionModel& model) : FModel(model) { ++FModel.FBypass; }
        ~TBypass() { --FModel.FBypass; }
        TBypass(const TBypass&) = delete;
        TBypass& operator=(const TBypass&) = delete;

    private:
        TDocumentSelectionModel& FModel;
    };

    void setCurrentIndex(const QModelIndex& index, QItemSelectionModel::SelectionFlags command) override;
    void select(const QModelIndex& index, QItemSelectionModel::SelectionFlags command) override;
    void select(const QItemSelection& selection, QItemSelectionModel::SelectionFlags command) override;

private:
    bool Allowed(const QModelIndex& target);

    QPersistentModelIndex FDecided;
    bool FHasDecision = false;
    bool FDecision = false;
    int FBypass = 0;
};

class TDocumentTreeView : public QTreeView {
public:
    explicit TDocumentTreeView(QWidget* parent = nullptr);

    TDocumentSelectionModel* DocumentSelection() const { return FSelection; }
    // Installs the model together with a TDocumentSelectionModel over it.
    void SetDocumentModel(QAbstractItemModel* model);

    // onMouseDown_treDocument: every press; a right press on a node, after selecting it, asks for the
    // tree menu at the pressed point (in the view's coordinates).
    std::function<void(const QPoint& pos)> OnTreeMenu;
    // onDblClick_treDocument: a double click anywhere in the tree (after the tree's own expanding).
    std::function<void()> OnDblClick;
    // onKeyUp_treDocument for the keys the window handles (Delete); F2 is handled here.
    std::function<void(int key)> OnKeyUp;
    QPoint MouseDownPos() const { return FMouseDown; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    TDocumentSelectionModel* FSelection = nullptr;
    QPoint FMouseDown;
};
