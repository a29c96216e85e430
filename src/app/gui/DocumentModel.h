// TDocumentModel: the Qt item model of the document tree view.
//
// The model reads the TDocumentTree directly: an index carries its node as the internal pointer, labels are
// decoded from the record's name when the view asks for them, and nothing of the tree is copied. The tree
// reports its structural changes through TDocumentTreeListener; a change of a record (name, kind) is
// reported by the window through NodeChanged.
#pragma once

#include <QAbstractItemModel>
#include <QIcon>
#include <functional>

#include "app/DocumentTree.h"

class TDocumentModel : public QAbstractItemModel, public TDocumentTreeListener {
public:
    // The images of the four kinds of node: document, closed group, open group, marked document.
    struct TImages {
        QIcon Document, Group, GroupOpen, Marked;
    };

    TDocumentModel(TDocumentTree& tree, TImages images, QObject* parent = nullptr);
    ~TDocumentModel() override;

    TDocumentTree& Tree() const { return FTree; }
    TDocumentNode* Node(const QModelIndex& index) const;
    QModelIndex IndexOf(const TDocumentNode* node) const;

    // The node's label or image changed.
    void NodeChanged(const TDocumentNode* node);

    // While a whole list is read into the tree, the view sees one reset instead of one insertion per node.
    class TResetScope {
    public:
        explicit TResetScope(TDocumentModel& model);
        ~TResetScope();
        TResetScope(const TResetScope&) = delete;
        TResetScope& operator=(const TResetScope&) = delete;

    private:
        TDocumentModel& FModel;
    };

    // Reorders the children of parent by the order of `sorted` (a permutation of them) with one layout
    // change for the view; indexes the view keeps follow their nodes.
    void Reorder(TDocumentNode* parent, const std::vector<TDocumentNode*>& sorted);

    // In-place label editing: called with the node and the label the user typed.
    std::function<void(TDocumentNode* node, const QString& label)> OnLabelEdited;

    // QAbstractItemModel.
    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // TDocumentTreeListener.
    void BeginInsert(TDocumentNode* parent, int row) override;
    void EndInsert(TDocumentNode* node) override;
    void BeginRemove(TDocumentNode* node) override;
    void EndRemove(TDocumentNode* parent, int row) override;
    void BeginMove(TDocumentNode* node, TDocumentNode* newParent, int row) override;
    void EndMove(TDocumentNode* node) override;
    void BeginReset() override;
    void EndReset() override;

private:
    const QIcon& ImageOf(const TDocumentNode* node) const;

    TDocumentTree& FTree;
    TImages FImages;
    int FQuiet = 0;  // inside a TResetScope or a Reorder: the tree's own notifications are not passed on
    bool FMoveOpen = false;
};
