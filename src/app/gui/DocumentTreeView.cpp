#include "app/gui/DocumentTreeView.h"

#include <QApplication>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimerEvent>
#include <algorithm>

// ---- Selection model ------------------------------------------------------------------------------------

bool TDocumentSelectionModel::Allowed(const QModelIndex& target) {
    if (FBypass || !OnChanging) return true;
    const QModelIndex to = target.isValid() ? target.siblingAtColumn(0) : QModelIndex();
    if (to == currentIndex()) return true;
    if (FHasDecision && FDecided == QPersistentModelIndex(to)) return FDecision;
    FDecision = OnChanging(to);
    FDecided = to;
    FHasDecision = true;
    return FDecision;
}

void TDocumentSelectionModel::setCurrentIndex(const QModelIndex& index,
                                              QItemSelectionModel::SelectionFlags command) {
    if (!Allowed(index)) return;
    QItemSelectionModel::setCurrentIndex(index, command);
}

void TDocumentSelectionModel::select(const QModelIndex& index, QItemSelectionModel::SelectionFlags command) {
    select(QItemSelection(index, index), command);
}

void TDocumentSelectionModel::select(const QItemSelection& selection,
                                     QItemSelectionModel::SelectionFlags command) {
    // Only a change of the selected node is asked about: selecting a node, or clearing without a new one.
    QModelIndex target;
    bool changes = false;
    if (!selection.isEmpty() && (command & (Select | Toggle))) {
        target = selection.indexes().value(0);
        changes = true;
    } else if (command & (Clear | Deselect | Toggle)) {
        changes = hasSelection();
    }
    if (changes && !Allowed(target)) return;
    QItemSelectionModel::select(selection, command);
}

// ---- View ------------------------------------------------------------------------------------------------

TDocumentTreeView::TDocumentTreeView(QWidget* parent) : QTreeView(parent) {
    setHeaderHidden(true);
    // The one column fills the pane; a label wider than the pane is elided.
    header()->setMinimumSectionSize(16);
    header()->setSectionResizeMode(QHeaderView::Stretch);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setIndentation(19);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    setExpandsOnDoubleClick(true);
    // F2 is taken on key release; a click on the selected node also starts editing.
    setEditTriggers(QAbstractItemView::SelectedClicked);
    setContextMenuPolicy(Qt::NoContextMenu);
    setIconSize(QSize(16, 16));
    // The selection stays visible (in the active colours) when the tree loses the focus.
    QPalette p = palette();
    p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Active, QPalette::Highlight));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText,
               p.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(p);
    // Drops are taken by the window (OnDragOver, OnDrop), not by the model.
    setDragDropMode(QAbstractItemView::NoDragDrop);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
}

void TDocumentTreeView::SetDocumentModel(QAbstractItemModel* model) {
    QItemSelectionModel* old = selectionModel();
    setModel(model);
    FSelection = new TDocumentSelectionModel(model, this);
    setSelectionModel(FSelection);
    if (old) old->deleteLater();
}

void TDocumentTreeView::mousePressEvent(QMouseEvent* event) {
    FMouseDown = event->position().toPoint();
    FDragStarted = false;
    if (FSelection) FSelection->NewGesture();
    QTreeView::mousePressEvent(event);
    if (event->button() == Qt::RightButton && indexAt(FMouseDown).isValid()) {
        setFocus(Qt::MouseFocusReason);
        if (OnTreeMenu) OnTreeMenu(FMouseDown);
    }
}

void TDocumentTreeView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (FSelection) FSelection->NewGesture();
    QTreeView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && OnDblClick) OnDblClick();
}

void TDocumentTreeView::keyPressEvent(QKeyEvent* event) {
    if (FSelection) FSelection->NewGesture();
    QTreeView::keyPressEvent(event);
}

void TDocumentTreeView::keyReleaseEvent(QKeyEvent* event) {
    if (!event->isAutoRepeat() && state() != EditingState) {
        if (event->key() == Qt::Key_F2) {
            if (currentIndex().isValid()) edit(currentIndex());
            event->accept();
            return;
        }
        if (OnKeyUp) OnKeyUp(event->key());
    }
    QTreeView::keyReleaseEvent(event);
}

// ---- Drag and drop -----------------------------------------------------------------------------------------

int TDocumentTreeView::DragThreshold() {
    return std::max(2, QApplication::startDragDistance());
}

void TDocumentTreeView::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & (Qt::LeftButton | Qt::RightButton)) || state() == EditingState) {
        QTreeView::mouseMoveEvent(event);
        return;
    }
    // A held button drags the selected node; it does not drag the selection along the rows.
    const QPoint d = event->position().toPoint() - FMouseDown;
    const int threshold = DragThreshold();
    if (FDragStarted || !currentIndex().isValid() || (std::abs(d.x()) <= threshold && std::abs(d.y()) <= threshold))
        return;
    FDragStarted = true;
    if (OnStartDrag) OnStartDrag();
    setState(NoState);
}

void TDocumentTreeView::dragEnterEvent(QDragEnterEvent* event) {
    FDragData = event->mimeData();
    FHover = QPersistentModelIndex();
    DragOver(event);
}

void TDocumentTreeView::dragMoveEvent(QDragMoveEvent* event) {
    FDragData = event->mimeData();
    DragOver(event);
}

void TDocumentTreeView::DragOver(QDropEvent* event) {
    FDragPos = event->position().toPoint();
    const Qt::DropAction action = OnDragOver ? OnDragOver(event->mimeData(), FDragPos) : Qt::IgnoreAction;
    if (action == Qt::IgnoreAction) {
        event->ignore();
        StopDragTimers();
        return;
    }
    event->setDropAction(action);
    event->accept();
    // A closed node opens when the pointer rests on it.
    const QModelIndex hover = indexAt(FDragPos);
    if (hover != FHover) {
        FHover = hover;
        if (hover.isValid() && model()->hasChildren(hover) && !isExpanded(hover))
            FExpandTimer.start(kAutoExpandDelay, this);
        else
            FExpandTimer.stop();
    }
    // Near the top or bottom edge the pane scrolls while the pointer stays there.
    const int y = FDragPos.y();
    if (y < kAutoScrollMargin || y >= viewport()->height() - kAutoScrollMargin) {
        if (!FScrollTimer.isActive()) FScrollTimer.start(50, this);
    } else {
        FScrollTimer.stop();
    }
}

void TDocumentTreeView::dragLeaveEvent(QDragLeaveEvent* event) {
    StopDragTimers();
    FDragData = nullptr;
    event->accept();
}

void TDocumentTreeView::dropEvent(QDropEvent* event) {
    StopDragTimers();
    FDragData = nullptr;
    const QPoint pos = event->position().toPoint();
    const Qt::DropAction action = OnDragOver ? OnDragOver(event->mimeData(), pos) : Qt::IgnoreAction;
    if (action == Qt::IgnoreAction) {
        event->ignore();
        return;
    }
    event->setDropAction(action);
    event->accept();
    if (OnDrop) OnDrop(event->mimeData(), pos);
}

void TDocumentTreeView::StopDragTimers() {
    FExpandTimer.stop();
    FScrollTimer.stop();
    FHover = QPersistentModelIndex();
}

void TDocumentTreeView::timerEvent(QTimerEvent* event) {
    if (event->timerId() == FExpandTimer.timerId()) {
        FExpandTimer.stop();
        if (FHover.isValid() && indexAt(FDragPos) == FHover) expand(FHover);
        return;
    }
    if (event->timerId() == FScrollTimer.timerId()) {
        QScrollBar* bar = verticalScrollBar();
        const int before = bar->value();
        bar->setValue(before + (FDragPos.y() < kAutoScrollMargin ? -1 : 1) * bar->singleStep());
        if (bar->value() == before || !FDragData) {
            FScrollTimer.stop();
            return;
        }
        // Another node is under the pointer now: the selection follows it.
        if (OnDragOver) OnDragOver(FDragData, FDragPos);
        return;
    }
    QTreeView::timerEvent(event);
}
