#include "app/DocumentTree.h"

#include <algorithm>
#include <utility>

std::string OnOneLine(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            out += ' ';
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out += c;
        }
    }
    return out;
}

namespace {

bool HasLineBreak(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

void KeepOnOneLine(TDocumentRecord& r) {
    if (HasLineBreak(r.Name)) r.Name = OnOneLine(r.Name);
    if (HasLineBreak(r.Address)) r.Address = OnOneLine(r.Address);
}

}  // namespace

int TDocumentNode::Level() const {
    int level = 0;
    for (const TDocumentNode* p = FParent; p && p->FParent; p = p->FParent) ++level;
    return level;
}

bool TDocumentNode::IsDescendantOf(const TDocumentNode* ancestor) const {
    if (!ancestor) return false;
    for (const TDocumentNode* p = FParent; p; p = p->FParent)
        if (p == ancestor) return true;
    return false;
}

TDocumentTree::TDocumentTree() = default;

TDocumentNode* TDocumentTree::NewNode(TDocumentRecord record) {
    TSlot* slot;
    if (!FFreeSlots.empty()) {
        slot = FFreeSlots.back();
        FFreeSlots.pop_back();
    } else {
        if (FUsedInLastBlock == kSlotsPerBlock) {
            FBlocks.emplace_back(new TSlot[kSlotsPerBlock]);
            FUsedInLastBlock = 0;
        }
        slot = &FBlocks.back()[FUsedInLastBlock++];
    }
    KeepOnOneLine(record);
    return new (slot->Bytes) TDocumentNode(std::move(record));
}

void TDocumentTree::SetRecord(TDocumentNode* node, TDocumentRecord record) {
    if (!node) return;
    KeepOnOneLine(record);
    node->FRecord = std::move(record);
}

void TDocumentTree::SetName(TDocumentNode* node, std::string_view name) {
    if (node) node->FRecord.Name = OnOneLine(name);
}

void TDocumentTree::SetAddress(TDocumentNode* node, std::string_view address) {
    if (node) node->FRecord.Address = OnOneLine(address);
}

void TDocumentTree::DeleteNode(TDocumentNode* node) {
    node->~TDocumentNode();
    FFreeSlots.push_back(reinterpret_cast<TSlot*>(node));
}

TDocumentTree::~TDocumentTree() {
    // Free iteratively: the default destruction of the owning pointers would recurse once per level.
    FListener = nullptr;
    FreeDescendants(&FRoot);
}

void TDocumentTree::Renumber(TDocumentNode* container, int fromRow) {
    for (int i = std::max(fromRow, 0); i < container->ChildCount(); ++i) container->FChildren[i]->FIndex = i;
}

TDocumentNode* TDocumentTree::InsertAt(TDocumentNode* parent, int row, TDocumentRecord record) {
    TDocumentNode* container = Container(parent);
    row = std::clamp(row, 0, container->ChildCount());
    if (FListener) FListener->BeginInsert(parent, row);
    TDocumentNode* node = NewNode(std::move(record));
    node->FParent = container;
    node->FIndex = row;
    if (row == container->ChildCount()) {
        container->FChildren.push_back(node);
    } else {
        container->FChildren.insert(container->FChildren.begin() + row, node);
        Renumber(container, row + 1);
    }
    ++FCount;
    if (FListener) FListener->EndInsert(node);
    return node;
}

TDocumentNode* TDocumentTree::AppendSibling(TDocumentNode* node, TDocumentRecord record) {
    TDocumentNode* parent = node ? node->Parent() : nullptr;
    return InsertAt(parent, ChildCount(parent), std::move(record));
}

TDocumentNode* TDocumentTree::AppendChild(TDocumentNode* parent, TDocumentRecord record) {
    return InsertAt(parent, ChildCount(parent), std::move(record));
}

TDocumentNode* TDocumentTree::InsertBefore(TDocumentNode* node, TDocumentRecord record) {
    if (!node) return AppendChild(nullptr, std::move(record));
    return InsertAt(node->Parent(), node->Index(), std::move(record));
}

bool TDocumentTree::Move(TDocumentNode* node, TDocumentNode* newParent, int row) {
    if (!node || node == newParent || (newParent && newParent->IsDescendantOf(node))) return false;
    TDocumentNode* from = node->FParent;
    TDocumentNode* to = Container(newParent);
    row = std::clamp(row, 0, to->ChildCount());
    const int oldRow = node->FIndex;
    if (from == to && (row == oldRow || row == oldRow + 1)) return true;  // already there

    if (FListener) FListener->BeginMove(node, newParent, row);
    from->FChildren.erase(from->FChildren.begin() + oldRow);
    Renumber(from, oldRow);
    if (from == to && row > oldRow) --row;  // the row was counted with the node still in place
    node->FParent = to;
    to->FChildren.insert(to->FChildren.begin() + row, node);
    Renumber(to, row);
    if (FListener) FListener->EndMove(node);
    return true;
}

void TDocumentTree::FreeDescendants(TDocumentNode* node) {
    // Depth-first with an explicit stack of (container, next row to free). A node's children are freed
    // before the node, first child first; the vectors are cleared once a container is done, so no row
    // bookkeeping is needed for nodes that all go.
    std::vector<std::pair<TDocumentNode*, int>> stack;
    stack.emplace_back(node, 0);
    while (!stack.empty()) {
        auto& [container, next] = stack.back();
        if (next < container->ChildCount()) {
            TDocumentNode* child = container->FChildren[next++];
            child->FDeleting = true;
            if (child->HasChildren()) {
                stack.emplace_back(child, 0);
            } else {
                DeleteNode(child);
                --FCount;
            }
            continue;
        }
        container->FChildren.clear();
        stack.pop_back();
        if (!stack.empty()) {
            auto& [parent, parentNext] = stack.back();
            DeleteNode(parent->FChildren[parentNext - 1]);  // container itself, now childless
            --FCount;
        }
    }
}

void TDocumentTree::FreeNodeTree(TDocumentNode* node) {
    if (!node) return;
    TDocumentNode* parent = node->Parent();
    TDocumentNode* container = node->FParent;
    const int row = node->FIndex;
    // Mark the whole subtree first, so that anything the listener triggers sees it as going.
    for (TDocumentNode* n = node; n; n = NextPreOrderWithin(n, node)) n->FDeleting = true;
    if (FListener) FListener->BeginRemove(node);
    FreeDescendants(node);
    container->FChildren.erase(container->FChildren.begin() + row);
    DeleteNode(node);
    --FCount;
    Renumber(container, row);
    if (FListener) FListener->EndRemove(parent, row);
}

void TDocumentTree::Clear() {
    if (FListener) FListener->BeginReset();
    FreeDescendants(&FRoot);
    if (FListener) FListener->EndReset();
}

TDocumentNode* TDocumentTree::NextPreOrder(const TDocumentNode* node) {
    return NextPreOrderWithin(node, nullptr);
}

TDocumentNode* TDocumentTree::NextPreOrderWithin(const TDocumentNode* node, const TDocumentNode* root) {
    if (!node) return nullptr;
    if (node->HasChildren()) return node->FirstChild();
    while (node && node != root) {
        if (TDocumentNode* next = node->NextSibling()) return next;
        node = node->Parent();
    }
    return nullptr;
}

TDocumentNode* TDocumentTree::AddDocumentNode(TDocumentNode* selection, TDocumentRecord record) {
    if (!selection) return AppendChild(nullptr, std::move(record));
    if (selection->IsGroup() && (!selection->HasChildren() || selection->Expanded()))
        return AppendChild(selection, std::move(record));
    return AppendSibling(selection, std::move(record));
}

TDocumentNode* TDocumentTree::DeleteNeighbour(const TDocumentNode* node) {
    if (!node) return nullptr;
    if (TDocumentNode* next = node->NextSibling()) return next;
    if (TDocumentNode* prev = node->PrevSibling()) return prev;
    return node->Parent();
}

TDocumentNode* TDocumentTree::DeleteDocumentNode(TDocumentNode* node) {
    if (!node) return nullptr;
    TDocumentNode* neighbour = DeleteNeighbour(node);
    FreeNodeTree(node);
    return neighbour;
}
