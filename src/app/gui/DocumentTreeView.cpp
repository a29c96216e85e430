#include "app/gui/DocumentTreeView.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

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
