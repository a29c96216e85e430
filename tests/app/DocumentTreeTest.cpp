#include "app/DocumentTree.h"

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "app/ForbiddenWords.h"

namespace {

// a, g[b, h[c], d], e
struct SampleTree : ::testing::Test {
    TDocumentTree tree;
    TDocumentNode *a, *g, *b, *h, *c, *d, *e;
    void SetUp() override {
        a = tree.AppendChild(nullptr, Rec("a"));
        g = tree.AppendChild(nullptr, Rec("g", dkGroup));
        b = tree.AppendChild(g, Rec("b"));
        h = tree.AppendChild(g, Rec("h", dkGroup));
        c = tree.AppendChild(h, Rec("c"));
        d = tree.AppendSibling(b, Rec("d"));
        e = tree.AppendSibling(a, Rec("e"));
    }
};

TEST_F(SampleTree, NavigationAndRows) {
    EXPECT_EQ(Shape(tree), "a,g(1)[b,h(1)[c],d],e");
    EXPECT_EQ(tree.Count(), 7u);
    EXPECT_EQ(g->Parent(), nullptr);
    EXPECT_EQ(c->Parent(), h);
    EXPECT_EQ(g->FirstChild(), b);
    EXPECT_EQ(g->LastChild(), d);
    EXPECT_EQ(b->NextSibling(), h);
    EXPECT_EQ(h->PrevSibling(), b);
    EXPECT_EQ(b->PrevSibling(), nullptr);
    EXPECT_EQ(e->NextSibling(), nullptr);
    EXPECT_EQ(d->Index(), 2);
    EXPECT_EQ(tree.Child(g, 2), d);
    EXPECT_EQ(tree.Child(nullptr, 2), e);
    EXPECT_EQ(tree.Child(g, 3), nullptr);
    EXPECT_EQ(c->Level(), 2);
    EXPECT_EQ(a->Level(), 0);
    EXPECT_TRUE(c->IsDescendantOf(g));
    EXPECT_FALSE(g->IsDescendantOf(g));
    EXPECT_TRUE(TDocumentTree::IsGroupNode(g));
    EXPECT_FALSE(TDocumentTree::IsGroupNode(a));
    EXPECT_FALSE(TDocumentTree::IsGroupNode(nullptr));
}

TEST_F(SampleTree, PreOrderWalks) {
    std::string order;
    for (TDocumentNode* n = tree.First(); n; n = TDocumentTree::NextPreOrder(n)) order += n->Record().Name;
    EXPECT_EQ(order, "agbhcde");

    // A walk over a group's descendants stops at the group's end, also for the last child of a parent.
    std::string inside;
    tree.ForEachPreOrder(
        h, [&](TDocumentNode* n, int depth) { inside += n->Record().Name + std::to_string(depth); });
    EXPECT_EQ(inside, "c0");
    inside.clear();
    tree.ForEachPreOrder(
        g, [&](TDocumentNode* n, int depth) { inside += n->Record().Name + std::to_string(depth); });
    EXPECT_EQ(inside, "b0h0c1d0");
    std::string all;
    tree.ForEachPreOrder(nullptr, [&](TDocumentNode* n, int depth) { all += std::to_string(depth); });
    EXPECT_EQ(all, "0011210");
}

TEST_F(SampleTree, InsertKeepsRowsRight) {
    TDocumentNode* x = tree.InsertBefore(h, Rec("x"));
    EXPECT_EQ(Shape(tree), "a,g(1)[b,x,h(1)[c],d],e");
    EXPECT_EQ(x->Index(), 1);
    EXPECT_EQ(h->Index(), 2);
    EXPECT_EQ(d->Index(), 3);
    tree.InsertBefore(a, Rec("y"));
    EXPECT_EQ(a->Index(), 1);
    EXPECT_EQ(tree.Count(), 9u);
}

TEST_F(SampleTree, MoveSubtree) {
    EXPECT_TRUE(tree.Move(h, nullptr, 0));  // to the front of the top level, with its child
    EXPECT_EQ(Shape(tree), "h(1)[c],a,g(1)[b,d],e");
    EXPECT_EQ(d->Index(), 1);
    EXPECT_EQ(c->Parent(), h);
    EXPECT_TRUE(tree.Move(a, nullptr, 4));  // row counted before the move: to the end
    EXPECT_EQ(Shape(tree), "h(1)[c],g(1)[b,d],e,a");
    EXPECT_TRUE(tree.Move(e, g, 1));
    EXPECT_EQ(Shape(tree), "h(1)[c],g(1)[b,e,d],a");
    EXPECT_FALSE(tree.Move(g, e, 0));  // not into its own subtree
    EXPECT_FALSE(tree.Move(g, g, 0));
    EXPECT_EQ(tree.Count(), 7u);
}

TEST_F(SampleTree, AddDocumentNodePlaces) {
    // No selection: end of the top level.
    EXPECT_EQ(tree.AddDocumentNode(nullptr, Rec("n1"))->Index(), 3);
    // A document: after its last sibling.
    EXPECT_EQ(tree.AddDocumentNode(b, Rec("n2"))->Parent(), g);
    EXPECT_EQ(g->LastChild()->Record().Name, "n2");
    // A group without children: its only child.
    TDocumentNode* empty = tree.AppendChild(nullptr, Rec("empty", dkGroup));
    EXPECT_EQ(tree.AddDocumentNode(empty, Rec("n3"))->Parent(), empty);
    // A collapsed group with children: after its own last sibling, not inside.
    ASSERT_FALSE(h->Expanded());
    TDocumentNode* n4 = tree.AddDocumentNode(h, Rec("n4"));
    EXPECT_EQ(n4->Parent(), g);
    EXPECT_EQ(n4, g->LastChild());
    EXPECT_EQ(h->ChildCount(), 1);
    // The same group expanded: its last child.
    h->SetExpanded(true);
    TDocumentNode* n5 = tree.AddDocumentNode(h, Rec("n5"));
    EXPECT_EQ(n5->Parent(), h);
    EXPECT_EQ(n5, h->LastChild());
    // A marked document counts as a document.
    c->Record().Kind = dkMarked;
    EXPECT_EQ(tree.AddDocumentNode(c, Rec("n6"))->Parent(), h);
}

TEST_F(SampleTree, DeleteDocumentNodeNeighbours) {
    EXPECT_EQ(TDocumentTree::DeleteNeighbour(b), h);  // next sibling
    EXPECT_EQ(TDocumentTree::DeleteNeighbour(d), h);  // else previous sibling
    EXPECT_EQ(TDocumentTree::DeleteNeighbour(c), h);  // else parent
    EXPECT_EQ(tree.DeleteDocumentNode(h), d);
    EXPECT_EQ(Shape(tree), "a,g(1)[b,d],e");
    EXPECT_EQ(d->Index(), 1);
    EXPECT_EQ(tree.Count(), 5u);
    tree.DeleteDocumentNode(a);
    tree.DeleteDocumentNode(e);
    EXPECT_EQ(tree.DeleteDocumentNode(g), nullptr);  // the tree is empty now
    EXPECT_TRUE(tree.Empty());
    EXPECT_EQ(tree.Count(), 0u);
}

struct RecordingListener : TDocumentTreeListener {
    std::vector<std::string> calls;
    const TDocumentTree* tree = nullptr;
    void BeginInsert(TDocumentNode* parent, int row) override {
        calls.push_back("+" + (parent ? parent->Record().Name : std::string("-")) + std::to_string(row));
    }
    void EndInsert(TDocumentNode* node) override { calls.push_back("+" + node->Record().Name); }
    void BeginRemove(TDocumentNode* node) override {
        std::string flags;
        for (TDocumentNode* n = node; n; n = TDocumentTree::NextPreOrderWithin(n, node))
            flags += n->BeingDeleted() ? "D" : "-";
        calls.push_back("-" + node->Record().Name + flags);
    }
    void EndRemove(TDocumentNode* parent, int row) override {
        calls.push_back("-" + (parent ? parent->Record().Name : std::string("-")) + std::to_string(row));
    }
    void BeginMove(TDocumentNode* node, TDocumentNode* parent, int row) override {
        calls.push_back(">" + node->Record().Name + std::to_string(row));
    }
    void EndMove(TDocumentNode* node) override { calls.push_back(">" + std::to_string(node->Index())); }
};

TEST_F(SampleTree, ListenerSeesEveryChangeInPairs) {
    RecordingListener l;
    tree.SetListener(&l);
    tree.InsertBefore(b, Rec("x"));
    tree.FreeNodeTree(h);  // the whole subtree is flagged before anything goes
    tree.Move(a, nullptr, 3);
    tree.SetListener(nullptr);
    std::vector<std::string> expected = {"+g0", "+x", "-hDD", "-g2", ">a3", ">2"};
    EXPECT_EQ(l.calls, expected);
}

TEST(DocumentTree, LineBreaksInNamesAndAddressesBecomeSpaces) {
    // A file name on Linux, an import or a paste can hold them; the list file keeps each on one line.
    TDocumentTree tree;
    TDocumentRecord r = Rec("a\r\nb\nc\rd\r\r\ne", dkDocument, "text\r\nkeeps its lines\r\n");
    r.Address = "http://x\r\n/y";
    TDocumentNode* n = tree.AppendChild(nullptr, r);
    EXPECT_EQ(n->Record().Name, "a b c d  e");
    EXPECT_EQ(n->Record().Address, "http://x /y");
    EXPECT_EQ(n->Record().Text, r.Text);
    tree.SetName(n, "\nname");
    tree.SetAddress(n, "file:///a\rb");
    EXPECT_EQ(n->Record().Name + "|" + n->Record().Address, " name|file:///a b");
    tree.SetRecord(n, r);
    EXPECT_EQ(n->Record().Name, "a b c d  e");
}

TEST(DocumentTree, DeepAndWideTreesGoWithoutRecursion) {
    TDocumentTree tree;
    TDocumentNode* n = nullptr;
    for (int i = 0; i < 200000; ++i) n = tree.AppendChild(n, Rec("n", dkGroup));
    EXPECT_EQ(tree.Count(), 200000u);
    int walked = 0;
    tree.ForEachPreOrder(nullptr, [&](TDocumentNode*, int) { ++walked; });
    EXPECT_EQ(walked, 200000);
    tree.FreeNodeTree(tree.First()->FirstChild());
    EXPECT_EQ(tree.Count(), 1u);
    for (int i = 0; i < 100000; ++i) tree.AppendChild(tree.First(), Rec("w"));
    tree.Clear();
    EXPECT_TRUE(tree.Empty());
    for (int i = 0; i < 100000; ++i) n = tree.AppendChild(i ? n : nullptr, Rec("n"));
    // the destructor frees the deep chain as well
}

TEST(ForbiddenWords, TableOrderAndCase) {
    auto m = FindForbiddenWord("abc\r\nxxFILETYPES");
    ASSERT_TRUE(m);
    EXPECT_EQ(m.Pos, 7u);
    EXPECT_EQ(m.Len, 8u);
    EXPECT_FALSE(FindForbiddenWord("filetype and #[end] and #[DAT"));
    // "#[END]" comes first in the text, but FILETYPE is the earlier table entry.
    m = FindForbiddenWord("#[END] then FILETYPE");
    EXPECT_EQ(m.Word, "FILETYPE");
    EXPECT_EQ(m.Pos, 12u);
    m = FindForbiddenWord("a #[DATA:S] b #[ADDR:");
    EXPECT_EQ(m.Word, "#[ADDR:");
    EXPECT_EQ(m.Len, 7u);
    // Positions count bytes of Shift-JIS text.
    m = FindForbiddenWord("\x88\xEA\x93\xF1#[END]");
    EXPECT_EQ(m.Pos, 4u);
}

}  // namespace
