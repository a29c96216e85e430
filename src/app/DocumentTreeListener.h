// Notifications of structural changes of a TDocumentTree, in the begin/end pairs that a Qt item model
// needs (beginInsertRows/endInsertRows and so on). A parent of nullptr means the top level.
#pragma once

class TDocumentNode;

class TDocumentTreeListener {
public:
    virtual ~TDocumentTreeListener() = default;

    // A node is about to be inserted at row of parent / it is in place now.
    virtual void BeginInsert(TDocumentNode* parent, int row) {}
    virtual void EndInsert(TDocumentNode* node) {}
    // The node with its whole subtree is about to be deleted (every node of it reports BeingDeleted()) /
    // it is gone; parent and row tell where it was.
    virtual void BeginRemove(TDocumentNode* node) {}
    virtual void EndRemove(TDocumentNode* parent, int row) {}
    // The node is about to move so that it comes before the child now at row of newParent (row = child
    // count: at the end) / it has moved.
    virtual void BeginMove(TDocumentNode* node, TDocumentNode* newParent, int row) {}
    virtual void EndMove(TDocumentNode* node) {}
    // The whole tree is about to be cleared / it is empty now.
    virtual void BeginReset() {}
    virtual void EndReset() {}
};
