// The document tree: every group and document of one document list, each node owning its record.
//
// Plain C++ so that both the window (through a Qt item model over it) and velloria-cli use the same nodes
// without copies. A parent argument of nullptr means the top level throughout. Deep or wide trees are
// fine: nothing here recurses, and row lookups are constant time.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

#include "app/DocumentNode.h"
#include "app/DocumentTreeListener.h"

class TDocumentTree {
public:
    TDocumentTree();
    ~TDocumentTree();
    TDocumentTree(const TDocumentTree&) = delete;
    TDocumentTree& operator=(const TDocumentTree&) = delete;

    // At most one listener (the item model); nullptr removes it.
    void SetListener(TDocumentTreeListener* listener) { FListener = listener; }

    bool Empty() const { return !FRoot.HasChildren(); }
    // Number of nodes at all levels.
    std::size_t Count() const { return FCount; }

    // Children of parent (nullptr = top level).
    int ChildCount(const TDocumentNode* parent) const { return Container(parent)->ChildCount(); }
    TDocumentNode* Child(const TDocumentNode* parent, int row) const { return Container(parent)->Child(row); }
    TDocumentNode* First() const { return FRoot.FirstChild(); }
    TDocumentNode* LastTop() const { return FRoot.LastChild(); }

    // Appends after the last sibling of node (at the end of the top level when node is nullptr).
    TDocumentNode* AppendSibling(TDocumentNode* node, TDocumentRecord record);
    // Appends as the last child of parent (at the end of the top level when parent is nullptr).
    TDocumentNode* AppendChild(TDocumentNode* parent, TDocumentRecord record);
    // Inserts right before node (at the end of the top level when node is nullptr).
    TDocumentNode* InsertBefore(TDocumentNode* node, TDocumentRecord record);
    // Inserts so that the new node comes before the child now at row of parent (row clamped to 0..count).
    TDocumentNode* InsertAt(TDocumentNode* parent, int row, TDocumentRecord record);

    // Replace a node's record or a field of it. Line breaks in the name and the address become spaces
    // (so do they when a record enters the tree through the insertions above).
    void SetRecord(TDocumentNode* node, TDocumentRecord record);
    void SetName(TDocumentNode* node, std::string_view name);
    void SetAddress(TDocumentNode* node, std::string_view address);

    // Moves node with its subtree so that it comes before the child now at row of newParent (row clamped
    // to 0..count; count = at the end). Refuses (returns false) to move a node into its own subtree.
    bool Move(TDocumentNode* node, TDocumentNode* newParent, int row);

    // Deletes the node with its subtree: the children first, always the first child until none is left,
    // then the node itself (FreeNodeTree).
    void FreeNodeTree(TDocumentNode* node);
    // Deletes every node.
    void Clear();

    // The next node in pre-order (parent before children, siblings in order), nullptr after the last one.
    static TDocumentNode* NextPreOrder(const TDocumentNode* node);
    // The same, but the walk stays inside the subtree of root (root itself is not revisited).
    static TDocumentNode* NextPreOrderWithin(const TDocumentNode* node, const TDocumentNode* root);

    // Calls fn(node, depth) for every node in pre-order: for the whole tree (group = nullptr, depth 0 at
    // the top level) or for group's descendants (depth 0 for group's children).
    template <class Fn>
    void ForEachPreOrder(const TDocumentNode* group, Fn&& fn) const;

    // True when node exists and is a group.
    static bool IsGroupNode(const TDocumentNode* node) { return node && node->IsGroup(); }

    // Adds a node for a new record where the window's "new document" command puts it, given the selected
    // node (nullptr = no selection): no selection, at the end of the top level; a document, after its last
    // sibling; a group without children, as its only child; an expanded group, as its last child; a
    // collapsed group with children, after its own last sibling.
    TDocumentNode* AddDocumentNode(TDocumentNode* selection, TDocumentRecord record);
    // The node the selection goes to when node is deleted: its next sibling, else its previous sibling,
    // else its parent (nullptr when the tree becomes empty).
    static TDocumentNode* DeleteNeighbour(const TDocumentNode* node);
    // Deletes node with its subtree and returns the neighbour to select (see DeleteNeighbour).
    TDocumentNode* DeleteDocumentNode(TDocumentNode* node);

private:
    TDocumentNode* Container(const TDocumentNode* parent) const {
        return parent ? const_cast<TDocumentNode*>(parent) : const_cast<TDocumentNode*>(&FRoot);
    }
    // Frees every descendant of node, first child first, depth first; leaves node with no children.
    void FreeDescendants(TDocumentNode* node);
    static void Renumber(TDocumentNode* container, int fromRow);
    // Nodes live in blocks of the tree's own: a list of 50,000 documents then costs a few hundred
    // allocations instead of one per node, and freeing it does not scatter the heap.
    TDocumentNode* NewNode(TDocumentRecord record);
    void DeleteNode(TDocumentNode* node);

    struct alignas(TDocumentNode) TSlot {
        unsigned char Bytes[sizeof(TDocumentNode)];
    };
    static constexpr std::size_t kSlotsPerBlock = 256;
    std::vector<std::unique_ptr<TSlot[]>> FBlocks;
    std::vector<TSlot*> FFreeSlots;
    std::size_t FUsedInLastBlock = kSlotsPerBlock;

    TDocumentNode FRoot;  // hidden parent of the top-level nodes
    std::size_t FCount = 0;
    TDocumentTreeListener* FListener = nullptr;
};

template <class Fn>
void TDocumentTree::ForEachPreOrder(const TDocumentNode* group, Fn&& fn) const {
    const TDocumentNode* top = Container(group);
    const TDocumentNode* node = top->FirstChild();
    int depth = 0;
    while (node) {
        fn(const_cast<TDocumentNode*>(node), depth);
        if (node->HasChildren()) {
            node = node->FirstChild();
            ++depth;
            continue;
        }
        // Climb until a next sibling exists, never above the starting level.
        while (node) {
            if (TDocumentNode* next = node->NextSibling()) {
                node = next;
                break;
            }
            node = node->FParent;
            --depth;
            if (node == top) node = nullptr;
        }
    }
}
