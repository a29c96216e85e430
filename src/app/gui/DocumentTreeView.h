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
// in-place label editing started by F2 or a click on the selected node; dragging the selected node out and
// taking drops, with the expanding of a node the pointer rests on and scrolling at the pane's edges.
#pragma once

#include <QBasicTimer>
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

    // ---- Drag and drop
    // onMouseMove_treDocument: a button is held, a node is selected and the pointer has moved more than
    // DragThreshold() pixels from the press, horizontally or vertically. Called once per press.
    std::function<void()> OnStartDrag;
    // A drag over the tree at pos (view coordinates): the action a drop there would have (IgnoreAction
    // refuses it). Also called when the tree scrolls under a resting pointer.
    std::function<Qt::DropAction(const QMimeData* data, const QPoint& pos)> OnDragOver;
    std::function<void(const QMimeData* data, const QPoint& pos)> OnDrop;
    // 2 pixels, or the platform's drag distance when that is larger.
    static int DragThreshold();
    // How long the pointer rests on a closed node before it opens, and the band at the top and bottom of
    // the pane where a drag scrolls it.
    static constexpr int kAutoExpandDelay = 700;
    static constexpr int kAutoScrollMargin = 16;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    // The drag over the tree: its action at pos, the timers that follow a resting pointer.
    void DragOver(QDropEvent* event);
    void StopDragTimers();

    TDocumentSelectionModel* FSelection = nullptr;
    QPoint FMouseDown;
    bool FDragStarted = false;  // this press has started its drag
    QBasicTimer FExpandTimer, FScrollTimer;
    QPersistentModelIndex FHover;  // the node the pointer rests on
    QPoint FDragPos;
    const QMimeData* FDragData = nullptr;  // valid between drag enter and leave or drop
};
