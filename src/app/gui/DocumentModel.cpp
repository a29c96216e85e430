#include "app/gui/DocumentModel.h"

#include "app/gui/RecordFields.h"
#include "text/SjisCodec.h"

TDocumentModel::TDocumentModel(TDocumentTree& tree, TImages images, QObject* parent)
    : QAbstractItemModel(parent), FTree(tree), FImages(std::move(images)) {
    FTree.SetListener(this);
}

TDocumentModel::~TDocumentModel() {
    FTree.SetListener(nullptr);
}

TDocumentNode* TDocumentModel::Node(const QModelIndex& index) const {
    return index.isValid() ? static_cast<TDocumentNode*>(index.internalPointer()) : nullptr;
}

QModelIndex TDocumentModel::IndexOf(const TDocumentNode* node) const {
    return node ? createIndex(node->Index(), 0, const_cast<TDocumentNode*>(node)) : QModelIndex();
}

void TDocumentModel::NodeChanged(const TDocumentNode* node) {
    if (!node || FQuiet) return;
    const QModelIndex index = IndexOf(node);
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::DecorationRole});
}

TDocumentModel::TResetScope::TResetScope(TDocumentModel& model) : FModel(model) {
    FModel.beginResetModel();
    ++FModel.FQuiet;
}

TDocumentModel::TResetScope::~TResetScope() {
    --FModel.FQuiet;
    FModel.endResetModel();
}

void TDocumentModel::Reorder(TDocumentNode* parent, const std::vector<TDocumentNode*>& sorted) {
    const QModelIndex parentIndex = IndexOf(parent);
    emit layoutAboutToBeChanged({QPersistentModelIndex(parentIndex)}, VerticalSortHint);
    ++FQuiet;
    for (int row = 0; row < static_cast<int>(sorted.size()); ++row)
        if (sorted[row]->Index() != row) FTree.Move(sorted[row], parent, row);
    --FQuiet;
    // Nodes keep their addresses; only their rows changed.
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& old : before) {
        auto* node = static_cast<TDocumentNode*>(old.internalPointer());
        after.push_back(createIndex(node->Index(), old.column(), node));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({QPersistentModelIndex(parentIndex)}, VerticalSortHint);
}

QModelIndex TDocumentModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0) return QModelIndex();
    TDocumentNode* node = FTree.Child(Node(parent), row);
    return node ? createIndex(row, 0, node) : QModelIndex();
}

QModelIndex TDocumentModel::parent(const QModelIndex& child) const {
    const TDocumentNode* node = Node(child);
    return node ? IndexOf(node->Parent()) : QModelIndex();
}

int TDocumentModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0) return 0;
    return FTree.ChildCount(Node(parent));
}

int TDocumentModel::columnCount(const QModelIndex&) const {
    return 1;
}

bool TDocumentModel::hasChildren(const QModelIndex& parent) const {
    return rowCount(parent) > 0;
}

const QIcon& TDocumentModel::ImageOf(const TDocumentNode* node) const {
    // An expanded node shows the open group, whatever its kind (a document can have children in a file).
    if (node->Expanded() && node->HasChildren()) return FImages.GroupOpen;
    switch (recfield::Kind(node->Record())) {
        case dkGroup:
            return FImages.Group;
        case dkMarked:
            return FImages.Marked;
        default:
            return FImages.Document;
    }
}

QVariant TDocumentModel::data(const QModelIndex& index, int role) const {
    const TDocumentNode* node = Node(index);
    if (!node) return QVariant();
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
        case Qt::ToolTipRole:
            return SjisCodec::ToUnicode(recfield::Name(node->Record()));
        case Qt::DecorationRole:
            return ImageOf(node);
        default:
            return QVariant();
    }
}

bool TDocumentModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    TDocumentNode* node = Node(index);
    if (!node || role != Qt::EditRole) return false;
    if (OnLabelEdited) OnLabelEdited(node, value.toString());
    return true;
}

Qt::ItemFlags TDocumentModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

void TDocumentModel::BeginInsert(TDocumentNode* parent, int row) {
    if (!FQuiet) beginInsertRows(IndexOf(parent), row, row);
}

void TDocumentModel::EndInsert(TDocumentNode* node) {
    if (FQuiet) return;
    endInsertRows();
    // The parent may have had no children before: its branch mark and image change.
    if (TDocumentNode* parent = node->Parent(); parent && parent->ChildCount() == 1) NodeChanged(parent);
}

void TDocumentModel::BeginRemove(TDocumentNode* node) {
    if (!FQuiet) beginRemoveRows(IndexOf(node->Parent()), node->Index(), node->Index());
}

void TDocumentModel::EndRemove(TDocumentNode* parent, int row) {
    if (FQuiet) return;
    endRemoveRows();
    if (parent && !parent->HasChildren()) NodeChanged(parent);
}

void TDocumentModel::BeginMove(TDocumentNode* node, TDocumentNode* newParent, int row) {
    if (FQuiet) return;
    // beginMoveRows refuses a move to the place the node already has; the view then needs no notice.
    const QModelIndex from = IndexOf(node->Parent());
    FMoveOpen = beginMoveRows(from, node->Index(), node->Index(), IndexOf(newParent), row);
}

void TDocumentModel::EndMove(TDocumentNode*) {
    if (FQuiet || !FMoveOpen) return;
    FMoveOpen = false;
    endMoveRows();
}

void TDocumentModel::BeginReset() {
    if (!FQuiet) beginResetModel();
}

void TDocumentModel::EndReset() {
    if (!FQuiet) endResetModel();
}
