// examples/sample.vlt is our writer's output for the tree built here; run this test with
// VELLORIA_WRITE_SAMPLE=1 to write it again after changing the tree. examples/sample.vlp is written by hand
// in the old format and must read into the same groups and documents.
#include <gtest/gtest.h>

#include <QString>
#include <cstdlib>

#include "TestSupport.h"
#include "app/ListFile.h"
#include "support/Sjis.h"

namespace {

const std::filesystem::path kExamples = std::filesystem::path(VELLORIA_SOURCE_DIR) / "examples";

// Shift-JIS bytes of a UTF-8 literal.
const auto S = Sjis;

TDocumentRecord R(const char* name, std::int32_t kind, const char* date, const char* text,
                  const char* address = "http://") {
    TDocumentRecord r;
    r.Name = S(name);
    r.Kind = kind;
    r.Date = date;
    r.Text = S(text);
    r.Address = address;
    return r;
}

void BuildSample(TDocumentTree& tree) {
    TDocumentNode* work = tree.AppendChild(nullptr, R("仕事", dkGroup, "20240401", ""));
    tree.AppendChild(work, R("会議メモ", dkDocument, "20240408",
                             "4月8日 定例会議\r\n\r\n・新しい見積もりの確認\r\n・資料は金曜までに共有\r\n"
                             "・次回は4月15日 10時から\r\n"));
    tree.AppendChild(
        work, R("企画書の下書き", dkMarked, "20240410",
                "目的\r\n  店頭とネットの注文をひとつの画面で扱う。\r\n\r\n予算\r\n  120万円（見込み）\r\n"));
    TDocumentNode* clients = tree.AppendChild(work, R("取引先", dkGroup, "20240402", ""));
    tree.AppendChild(clients, R("山田商事", dkDocument, "20240403",
                                "担当: 山田様\r\n電話: 03-1234-5678\r\n請求書は月末締め、翌月20日払い。\r\n",
                                "http://example.jp/yamada/"));
    tree.AppendChild(clients,
                     R("北野デザイン", dkDocument, "20240405", "ロゴの修正案を三つ受け取った。\r\n"));
    TDocumentNode* home = tree.AppendChild(nullptr, R("暮らし", dkGroup, "20240301", "家のこと。\r\n"));
    tree.AppendChild(home, R("買い物リスト", dkDocument, "20240412", "牛乳\r\n卵\r\n食パン\r\nみかん\r\n"));
    tree.AppendChild(home, R("旅行の計画", dkDocument, "20240315",
                             "京都 二泊三日\r\n\r\n一日目  清水寺、祇園\r\n二日目  嵐山、竹林の小径\r\n"
                             "三日目  錦市場でお土産\r\n"));
    tree.AppendChild(nullptr, R("読書記録", dkDocument, "20240220",
                                "『吾輩は猫である』夏目漱石\r\n語り手の猫が人間を眺める目がおかしい。\r\n"));
}

TEST(SampleFiles, SampleVltIsOurWritersOutput) {
    TDocumentTree tree;
    BuildSample(tree);
    TRecordingHost host;
    TListFile list(tree, host);
    const char* write = std::getenv("VELLORIA_WRITE_SAMPLE");
    if (write && *write == '1') {
        ASSERT_TRUE(list.WriteListFile(kExamples / "sample.vlt"));
    }
    ASSERT_TRUE(std::filesystem::exists(kExamples / "sample.vlt"));
    EXPECT_EQ(ReadBytes(kExamples / "sample.vlt"), list.Serialize());

    // One document is marked, and the file reads back without damage.
    TDocumentTree back;
    auto result = TListFile(back, host).ReadListFile(kExamples / "sample.vlt");
    EXPECT_FALSE(result.Damaged());
    EXPECT_EQ(Shape(back), Shape(tree));
    int marked = 0;
    back.ForEachPreOrder(nullptr, [&](TDocumentNode* n, int) { marked += n->Record().Kind == dkMarked; });
    EXPECT_EQ(marked, 1);
}

TEST(SampleFiles, OldSampleReadsIntoGroupsAndDocuments) {
    TDocumentTree tree;
    TRecordingHost host;
    auto result = TListFile(tree, host).ReadListFile(kExamples / "sample.vlp");
    EXPECT_TRUE(result.OldFormat);
    EXPECT_FALSE(result.Damaged()) << result.FirstBadLine;
    ASSERT_EQ(host.Warnings.size(), 1u);
    EXPECT_EQ(Shape(tree),
              S("仕事(1)[会議メモ,取引先(1)[山田商事],空のグループ(1)],暮らし(1)[買い物リスト],読書記録"));
    const TDocumentNode* memo = tree.First()->FirstChild();
    EXPECT_EQ(memo->Record().Date, "19990408");
    EXPECT_EQ(memo->Record().Text, S("4月8日 定例会議\r\n・見積もりの確認\r\n"));
    EXPECT_EQ(memo->Record().Address, "");
}

}  // namespace
