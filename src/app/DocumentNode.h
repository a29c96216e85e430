// One node of the document tree: a group or a document with its record.
//
// Nodes never move, so a pointer stays valid until the node is deleted; a Qt
// item model can keep it as the internal pointer of its indexes. Every node knows its position among its
// siblings, so the row of a node and the node at a row are both found in constant time.
#pragma once

#include <vector>

#include "app/DocumentRecord.h"

class TDocumentTree;

class TDocumentNode {
public:
    TDocumentNode(const TDocumentNode&) = delete;
    TDocumentNode& operator=(const TDocumentNode&) = delete;

    // Names and addresses are best changed through TDocumentTree's setters, which keep them on one line;
    // the list file writer refuses a record whose name or address holds a line break.
    TDocumentRecord& Record() { return FRecord; }
    const TDocumentRecord& Record() const { return FRecord; }

    // The parent node; nullptr for a node at the top level.
    TDocumentNode* Parent() const { return (FParent && FParent->FParent) ? FParent : nullptr; }
    int ChildCount() const { return static_cast<int>(FChildren.size()); }
    bool HasChildren() const { return !FChildren.empty(); }
    // The child at row (0-based), nullptr when out of range.
    TDocumentNode* Child(int row) const {
        return (row >= 0 && row < ChildCount()) ? FChildren[row] : nullptr;
    }
    TDocumentNode* FirstChild() const { return HasChildren() ? FChildren.front() : nullptr; }
    TDocumentNode* LastChild() const { return HasChildren() ? FChildren.back() : nullptr; }
    TDocumentNode* NextSibling() const { return FParent ? FParent->Child(FIndex + 1) : nullptr; }
    TDocumentNode* PrevSibling() const { return FParent ? FParent->Child(FIndex - 1) : nullptr; }
    // Position among the siblings (row in an item model).
    int Index() const { return FIndex; }
    // 0 for a top-level node, 1 for its children, and so on.
    int Level() const;

    bool IsGroup() const { return FRecord.Kind == dkGroup; }
    // True when ancestor is this node's parent, grandparent, and so on (false for the node itself).
    bool IsDescendantOf(const TDocumentNode* ancestor) const;

    // The tree view's expanded state of the node.
    bool Expanded() const { return FExpanded; }
    void SetExpanded(bool value) { FExpanded = value; }

    // True while the node's subtree is being deleted: a selection change that the deletion causes must not
    // store anything into the node.
    bool BeingDeleted() const { return FDeleting; }

private:
    friend class TDocumentTree;
    TDocumentNode() = default;
    explicit TDocumentNode(TDocumentRecord record) : FRecord(std::move(record)) {}

    TDocumentRecord FRecord;
    TDocumentNode* FParent = nullptr;       // the tree's hidden root for top-level nodes
    std::vector<TDocumentNode*> FChildren;  // owned through the tree's node store
    int FIndex = 0;
    bool FExpanded = false;
    bool FDeleting = false;
};
