#include "app/ListFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <random>

#include "TestSupport.h"
#include "TreeGenerator.h"

namespace {

const std::string kShiryo = "\x8E\x91\x97\xBF";  // 資料
const std::string kMemo = "\x83\x81\x83\x82";    // メモ
const std::string kYotei = "\x97\x5C\x92\xE8";   // 予定
const std::string kIchi = "\x88\xEA";            // 一
const std::string kNi = "\x93\xF1";              // 二

struct ListFileTest : ::testing::Test {
    TTempDir dir;
    TDocumentTree tree;
    TRecordingHost host;
    TListFile list{tree, host};

    // The worked example: 資料 holding メモ and the marked 予定.
    void BuildExample() {
        TDocumentNode* g = tree.AppendChild(nullptr, Rec(kShiryo, dkGroup, "", "20010420"));
        tree.AppendChild(g, Rec(kMemo, dkDocument, "abc\r\n", "20010421"));
        tree.AppendChild(g, Rec(kYotei, dkMarked, kIchi + "\r\n" + kNi + "\r\n", "20010422"));
    }
    TListReadResult ReadText(const std::string& bytes, TDocumentNode* target = nullptr) {
        WriteBytes(dir / "in.vlt", bytes);
        return list.ReadListFile(dir / "in.vlt", target);
    }
};

const std::string kExampleFile = CrLf({
    "Velloria version 2.03",
    "#[FILETYPE:VL203]",
    "#[DOCCOUNT:3]",  //
    "#[DAT:0001:20010420:" + kShiryo + "]",
    "#[ADDR:http://]",
    "#[DATA:S]",
    "",
    "#[DATA:E]",
    "#[END]",  //
    "#[DAT:0100:20010421:" + kMemo + "]",
    "#[ADDR:http://]",
    "#[DATA:S]",
    "abc",
    "",
    "#[DATA:E]",
    "#[END]",
    "#[DAT:0103:20010422:" + kYotei + "]",
    "#[ADDR:http://]",
    "#[DATA:S]",
    kIchi,
    kNi,
    "",
    "#[DATA:E]",
    "#[END]",  //
});

TEST_F(ListFileTest, WorkedExampleByteForByte) {
    BuildExample();
    host.Modified = true;
    ASSERT_TRUE(list.WriteListFile(dir / "a.vlt"));
    EXPECT_EQ(ReadBytes(dir / "a.vlt"), kExampleFile);
    EXPECT_FALSE(host.Modified);

    // Reading it back gives the same records.
    TDocumentTree back;
    TListFile reader(back, host);
    auto result = reader.ReadListFile(dir / "a.vlt");
    EXPECT_TRUE(result.Succeeded());
    EXPECT_FALSE(result.Damaged());
    EXPECT_EQ(result.Records, 3);
    ASSERT_EQ(Shape(back), kShiryo + "(1)[" + kMemo + "," + kYotei + "(3)]");
    EXPECT_EQ(back.First()->Record().Text, "");
    EXPECT_EQ(back.First()->FirstChild()->Record(), tree.First()->FirstChild()->Record());
    EXPECT_EQ(back.First()->LastChild()->Record().Text, kIchi + "\r\n" + kNi + "\r\n");
    EXPECT_EQ(back.First()->Record().Address, "http://");
    EXPECT_EQ(back.First()->Record().Date, "20010420");
}

TEST_F(ListFileTest, ExportGroupWritesOnlyItsDescendants) {
    BuildExample();
    TDocumentNode* g = tree.First();
    TDocumentNode* inner = tree.AppendChild(g, Rec("sub", dkGroup));
    tree.AppendChild(inner, Rec("deep"));
    tree.AppendChild(nullptr, Rec("after"));  // follows the group in the tree: never exported
    host.Modified = true;
    ASSERT_TRUE(list.WriteListFile(dir / "g.vlt", g));
    EXPECT_TRUE(host.Modified);  // an export leaves the modified state alone
    std::string bytes = ReadBytes(dir / "g.vlt");
    EXPECT_NE(bytes.find("#[DOCCOUNT:4]\r\n#[DAT:0000:20010421:" + kMemo + "]"), std::string::npos);
    EXPECT_NE(bytes.find("#[DAT:0001:20240101:sub]"), std::string::npos);
    EXPECT_NE(bytes.find("#[DAT:0100:20240101:deep]"), std::string::npos);
    EXPECT_EQ(bytes.find(kShiryo), std::string::npos);
    EXPECT_EQ(bytes.find("after"), std::string::npos);

    // The group that is the last child of its parent: the walk stops at its end.
    ASSERT_TRUE(list.WriteListFile(dir / "inner.vlt", inner));
    bytes = ReadBytes(dir / "inner.vlt");
    EXPECT_NE(bytes.find("#[DOCCOUNT:1]\r\n#[DAT:0000:20240101:deep]"), std::string::npos);
    EXPECT_EQ(bytes.find("after"), std::string::npos);

    // A group without children writes no file and leaves an existing one alone.
    TDocumentNode* empty = tree.AppendChild(nullptr, Rec("empty", dkGroup));
    EXPECT_TRUE(list.WriteListFile(dir / "none.vlt", empty));
    EXPECT_FALSE(std::filesystem::exists(dir / "none.vlt"));
    WriteBytes(dir / "keep.vlt", "old");
    EXPECT_TRUE(list.WriteListFile(dir / "keep.vlt", empty));
    EXPECT_EQ(ReadBytes(dir / "keep.vlt"), "old");
}

TEST_F(ListFileTest, EmptyTreeWritesTheHeader) {
    ASSERT_TRUE(list.WriteListFile(dir / "e.vlt"));
    EXPECT_EQ(ReadBytes(dir / "e.vlt"),
              CrLf({"Velloria version 2.03", "#[FILETYPE:VL203]", "#[DOCCOUNT:0]"}));
}

TEST_F(ListFileTest, RandomTreesSurviveWriteReadWrite) {
    for (unsigned seed = 1; seed <= 12; ++seed) {
        std::mt19937 rng(seed);
        TDocumentTree original;
        TTreeGeneratorOptions options;
        options.Documents = 40;
        options.MaxDepth = 1 + seed % 7;
        options.GroupShare = 0.05 + 0.02 * (seed % 5);
        GenerateTree(original, rng, options);
        TListFile writer(original, host);
        std::string first = writer.Serialize();
        ASSERT_TRUE(writer.WriteListFile(dir / "r.vlt"));
        ASSERT_EQ(ReadBytes(dir / "r.vlt"), first);

        TDocumentTree copy;
        TListFile reader(copy, host);
        auto result = reader.ReadListFile(dir / "r.vlt");
        ASSERT_TRUE(result.Succeeded());
        ASSERT_FALSE(result.Damaged()) << "seed " << seed << " line " << result.FirstBadLine;
        ASSERT_EQ(copy.Count(), original.Count());
        ASSERT_EQ(Shape(copy), Shape(original)) << "seed " << seed;
        for (TDocumentNode *a = original.First(), *b = copy.First(); a;
             a = TDocumentTree::NextPreOrder(a), b = TDocumentTree::NextPreOrder(b))
            ASSERT_EQ(a->Record(), b->Record()) << "seed " << seed;
        EXPECT_EQ(reader.Serialize(), first) << "seed " << seed;
    }
}

TEST_F(ListFileTest, LongBodiesAcrossBlockBoundaries) {
    // Bodies far larger than the writer's chunks and the reader's blocks, one of them a single long line.
    TDocumentTree original;
    std::mt19937 rng(7);
    original.AppendChild(nullptr, Rec("big", dkDocument, GenerateText(rng, 9 << 20)));
    original.AppendChild(nullptr, Rec("line", dkDocument, std::string(5 << 20, 'x') + "\r\n"));
    original.AppendChild(nullptr, Rec("small", dkDocument, "s\r\n"));
    TListFile writer(original, host);
    ASSERT_TRUE(writer.WriteListFile(dir / "big.vlt"));
    TDocumentTree copy;
    TListFile reader(copy, host);
    ASSERT_FALSE(reader.ReadListFile(dir / "big.vlt").Damaged());
    ASSERT_EQ(copy.Count(), 3u);
    EXPECT_TRUE(copy.First()->Record() == original.First()->Record());
    EXPECT_TRUE(copy.Child(nullptr, 1)->Record() == original.Child(nullptr, 1)->Record());
    EXPECT_EQ(copy.Child(nullptr, 2)->Record().Text, "s\r\n");
}

TEST_F(ListFileTest, NamesWithColonAndBracketAndEmptyLines) {
    tree.AppendChild(nullptr, Rec("a:b]c]", dkDocument, "\r\n\r\nx\r\n\r\n"));
    tree.AppendChild(nullptr, Rec("]", dkDocument, "no final break"));
    ASSERT_TRUE(list.WriteListFile(dir / "n.vlt"));
    TDocumentTree copy;
    TListFile reader(copy, host);
    reader.ReadListFile(dir / "n.vlt");
    ASSERT_EQ(copy.Count(), 2u);
    EXPECT_EQ(copy.First()->Record().Name, "a:b]c]");
    EXPECT_EQ(copy.First()->Record().Text, "\r\n\r\nx\r\n\r\n");
    EXPECT_EQ(copy.Child(nullptr, 1)->Record().Name, "]");
    EXPECT_EQ(copy.Child(nullptr, 1)->Record().Text, "no final break");
}

// "a" and "b" as a file of records at the given depths.
std::string Records(std::initializer_list<std::pair<std::string, int>> records) {
    std::string out = CrLf(
        {"Velloria version 2.03", "#[FILETYPE:VL203]", "#[DOCCOUNT:" + std::to_string(records.size()) + "]"});
    for (auto& [name, depth] : records) {
        char dd[8];
        std::snprintf(dd, sizeof dd, "%02X00", depth);
        out += CrLf({"#[DAT:" + std::string(dd) + ":20240101:" + name + "]", "#[ADDR:http://]", "#[DATA:S]",
                     "", "#[DATA:E]", "#[END]"});
    }
    return out;
}

TEST_F(ListFileTest, PlacementByDepth) {
    // A jump deeper by more than one still nests one level; going up climbs by the recorded depths, so
    // after c and d (recorded 3, placed at 2) a record of depth 1 climbs two levels.
    ReadText(Records({{"a", 0}, {"b", 1}, {"c", 3}, {"d", 3}, {"e", 1}, {"f", 0}}));
    EXPECT_EQ(Shape(tree), "a[b[c,d]],e,f");
    tree.Clear();
    ReadText(Records({{"a", 0}, {"b", 1}, {"c", 2}, {"d", 1}, {"e", 0}}));
    EXPECT_EQ(Shape(tree), "a[b[c],d],e");
}

TEST_F(ListFileTest, FirstRecordAtDepthTwo) {
    ReadText(Records({{"a", 2}, {"b", 2}}));
    EXPECT_EQ(Shape(tree), "a,b");
    tree.Clear();
    TDocumentNode* t = tree.AppendChild(nullptr, Rec("t"));
    tree.AppendChild(nullptr, Rec("u"));
    ReadText(Records({{"a", 2}, {"b", 2}}), t);
    EXPECT_EQ(Shape(tree), "t[a,b],u");
}

TEST_F(ListFileTest, MergeNextToTarget) {
    // Next to a group: the file's records come after the group's last sibling, not inside it.
    TDocumentNode* g = tree.AppendChild(nullptr, Rec("g", dkGroup));
    tree.AppendChild(g, Rec("in"));
    tree.AppendChild(nullptr, Rec("z"));
    auto result = ReadText(Records({{"a", 0}, {"b", 1}, {"c", 0}}), g);
    EXPECT_EQ(result.Records, 3);
    EXPECT_EQ(Shape(tree), "g(1)[in],z,a[b],c");

    // Next to a nested document: at the end of the document's level.
    tree.Clear();
    TDocumentNode* p = tree.AppendChild(nullptr, Rec("p", dkGroup));
    TDocumentNode* q = tree.AppendChild(p, Rec("q", dkGroup));
    TDocumentNode* doc = tree.AppendChild(q, Rec("doc"));
    tree.AppendChild(q, Rec("doc2"));
    tree.AppendChild(nullptr, Rec("top"));
    ReadText(Records({{"a", 0}, {"b", 1}, {"c", 0}}), doc);
    EXPECT_EQ(Shape(tree), "p(1)[q(1)[doc,doc2,a[b],c]],top");
}

TEST_F(ListFileTest, MergeAfterADepthJumpStaysAtTheTargetsLevel) {
    // b jumps from depth 0 to 5 (placed one level down); c climbs back by the recorded depths, four levels,
    // which at the top level ends at the top level, and in a merge at the target's level, never above it.
    const std::string file = Records({{"a", 0}, {"b", 5}, {"c", 1}, {"d", 2}});
    ReadText(file);
    EXPECT_EQ(Shape(tree), "a[b],c[d]");
    tree.Clear();
    TDocumentNode* p = tree.AppendChild(nullptr, Rec("p", dkGroup));
    TDocumentNode* doc = tree.AppendChild(p, Rec("doc"));
    tree.AppendChild(nullptr, Rec("top"));
    auto result = ReadText(file, doc);
    EXPECT_EQ(result.Records, 4);
    EXPECT_EQ(Shape(tree), "p(1)[doc,a[b],c[d]],top");
}

TEST_F(ListFileTest, FileTypeLineInABodyIsText) {
    // Only the header's file-type line decides: one in a body is text, and the records after it are read.
    std::string file =
        CrLf({"Velloria version 2.03", "#[FILETYPE:VL203]", "#[DOCCOUNT:2]", "#[DAT:0000:20240101:a]",
              "#[ADDR:http://]", "#[DATA:S]", "#[FILETYPE:VL999]", "", "#[DATA:E]", "#[END]",
              "#[DAT:0000:20240102:b]", "#[ADDR:http://]", "#[DATA:S]", "", "#[DATA:E]", "#[END]"});
    auto result = ReadText(file);
    EXPECT_EQ(result.Status, TListReadResult::TStatus::Ok);
    EXPECT_FALSE(result.Damaged());
    EXPECT_TRUE(host.Warnings.empty());
    EXPECT_EQ(Shape(tree), "a,b");
    EXPECT_EQ(tree.First()->Record().Text, "#[FILETYPE:VL999]\r\n");
    EXPECT_EQ(list.Serialize(), file);
}

TEST_F(ListFileTest, ProgressAndCursorDuringARead) {
    ReadText(Records({{"a", 0}, {"b", 0}, {"c", 0}, {"d", 0}, {"e", 0}, {"f", 0}, {"g", 0}, {"h", 0}}));
    ASSERT_GE(host.Calls.size(), 5u);
    EXPECT_EQ(host.Calls[0], "max 8");
    EXPECT_EQ(host.Calls[1], "min 0");
    EXPECT_EQ(host.Calls[2], "show");
    EXPECT_EQ(host.Calls[3], "busy");
    EXPECT_EQ(host.Calls[4], "pos 1");
    // 1/8 = 12.5 % rounds to even (12); 3/8 = 37.5 % to 38.
    EXPECT_EQ(host.Calls[5], "status " + listfile::ProgressText(12));
    EXPECT_EQ(listfile::ProgressText(12), " 12 % \x93\xC7\x82\xDD\x8D\x9E\x82\xDD\x8A\xAE\x97\xB9...");
    EXPECT_EQ(host.Count("status " + listfile::ProgressText(38)), 1);
    EXPECT_EQ(host.Count("status " + listfile::ProgressText(100)), 1);
    EXPECT_EQ(host.Count("pos 8"), 1);
    EXPECT_TRUE(host.AtRest());
    EXPECT_EQ(host.Count("pos 0"), 1);
    EXPECT_EQ(host.Count("arrived"), 1);
    EXPECT_FALSE(host.Modified);
}

TEST(ListFileProgress, PercentRoundsHalvesToEven) {
    EXPECT_EQ(listfile::ProgressPercent(1, 8), 12);
    EXPECT_EQ(listfile::ProgressPercent(3, 8), 38);
    EXPECT_EQ(listfile::ProgressPercent(1, 200), 0);  // 0.5 -> 0
    EXPECT_EQ(listfile::ProgressPercent(3, 200), 2);  // 1.5 -> 2
    EXPECT_EQ(listfile::ProgressPercent(2, 3), 67);
    EXPECT_EQ(listfile::ProgressPercent(7, 7), 100);
    EXPECT_EQ(listfile::ProgressText(5), "  5 % \x93\xC7\x82\xDD\x8D\x9E\x82\xDD\x8A\xAE\x97\xB9...");
    EXPECT_EQ(listfile::ProgressText(100).substr(0, 6), "100 % ");
}

TEST_F(ListFileTest, DocCountInABodyStaysTextAndResetsTheMaximum) {
    std::string file =
        CrLf({"Velloria version 2.03", "#[FILETYPE:VL203]", "#[DOCCOUNT:2]", "#[DAT:0000:20240101:a]",
              "#[ADDR:http://]", "#[DATA:S]", "#[DOCCOUNT:50]", "", "#[DATA:E]", "#[END]"});
    auto result = ReadText(file);
    EXPECT_FALSE(result.Damaged());
    ASSERT_EQ(tree.Count(), 1u);
    EXPECT_EQ(tree.First()->Record().Text, "#[DOCCOUNT:50]\r\n");
    EXPECT_EQ(host.ProgressMax, 50);
    EXPECT_EQ(host.Count("busy"), 1);
    EXPECT_TRUE(host.AtRest());
}

TEST_F(ListFileTest, VersionLineInABodyIsText) {
    std::string file =
        CrLf({"Velloria version 2.03", "#[FILETYPE:VL203]", "#[DOCCOUNT:1]", "#[DAT:0000:20240101:a]",
              "#[ADDR:http://]", "#[DATA:S]", "#[VERSION:200]", "", "#[DATA:E]", "#[END]"});
    auto result = ReadText(file);
    EXPECT_FALSE(result.OldFormat);
    EXPECT_TRUE(host.Warnings.empty());
    ASSERT_EQ(tree.Count(), 1u);
    EXPECT_EQ(tree.First()->Record().Text, "#[VERSION:200]\r\n");
}

TEST_F(ListFileTest, MissingFileWarnsAndLeavesTheTree) {
    tree.AppendChild(nullptr, Rec("keep"));
    host.Modified = true;
    auto result = list.ReadListFile(dir / "nothing.vlt");
    EXPECT_EQ(result.Status, TListReadResult::TStatus::Missing);
    ASSERT_EQ(host.Warnings.size(), 1u);
    EXPECT_EQ(host.Warnings[0], listfile::kReadFailed);
    EXPECT_EQ(
        listfile::FormatMessage(listfile::kReadFailed, "x.vlt").substr(listfile::kReadFailed.size() - 2),
        "x.vlt");
    EXPECT_EQ(Shape(tree), "keep");
    EXPECT_TRUE(host.Modified);
}

TEST_F(ListFileTest, WrongFileTypeStopsAndRestores) {
    auto result =
        ReadText(CrLf({"Velloria version 2.03", "#[FILETYPE:VL999]", "#[DOCCOUNT:1]",
                       "#[DAT:0000:20240101:a]", "#[ADDR:]", "#[DATA:S]", "", "#[DATA:E]", "#[END]"}));
    EXPECT_EQ(result.Status, TListReadResult::TStatus::WrongType);
    ASSERT_EQ(host.Warnings.size(), 1u);
    EXPECT_EQ(host.Warnings[0], listfile::kWrongFileType);
    EXPECT_TRUE(tree.Empty());
    EXPECT_TRUE(host.AtRest());
}

TEST_F(ListFileTest, FailedWriteKeepsTheOldFileAndTheModifiedState) {
    BuildExample();
    host.Modified = true;
    // The temporary file cannot be made (no such folder).
    EXPECT_FALSE(list.WriteListFile(dir / "missing" / "x.vlt"));
    ASSERT_EQ(host.Errors.size(), 1u);
    EXPECT_NE(host.Errors[0].find("x.vlt"), std::string::npos);
    EXPECT_TRUE(host.Modified);

    // The target is a folder: the rename fails; the folder and its contents stay, no temporary file is left.
    std::filesystem::create_directory(dir / "folder.vlt");
    WriteBytes(dir / "folder.vlt" / "inside", "previous contents");
    host.Errors.clear();
    EXPECT_FALSE(list.WriteListFile(dir / "folder.vlt"));
    EXPECT_EQ(host.Errors.size(), 1u);
    EXPECT_TRUE(host.Modified);
    EXPECT_EQ(ReadBytes(dir / "folder.vlt" / "inside"), "previous contents");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);

    // A successful save replaces the old file and keeps its permissions.
    WriteBytes(dir / "old.vlt", "previous contents");
    std::filesystem::permissions(dir / "old.vlt", std::filesystem::perms::owner_read |
                                                      std::filesystem::perms::owner_write |
                                                      std::filesystem::perms::group_read);
    ASSERT_TRUE(list.WriteListFile(dir / "old.vlt"));
    EXPECT_EQ(ReadBytes(dir / "old.vlt"), kExampleFile);
    EXPECT_EQ(std::filesystem::status(dir / "old.vlt").permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                  std::filesystem::perms::group_read);
    EXPECT_FALSE(host.Modified);

    // A read-only list is not replaced; the message says why.
    WriteBytes(dir / "ro.vlt", "previous contents");
    ::chmod((dir / "ro.vlt").c_str(), 0444);
    host.Modified = true;
    host.Errors.clear();
    EXPECT_FALSE(list.WriteListFile(dir / "ro.vlt"));
    ASSERT_EQ(host.Errors.size(), 1u);
    EXPECT_NE(host.Errors[0].find("read-only"), std::string::npos) << host.Errors[0];
    EXPECT_TRUE(list.RefusedReadOnly());
    EXPECT_EQ(ReadBytes(dir / "ro.vlt"), "previous contents");
    EXPECT_TRUE(host.Modified);
    list.SetReplaceReadOnly(true);  // the window asked, and the user agreed
    EXPECT_TRUE(list.WriteListFile(dir / "ro.vlt"));
    EXPECT_FALSE(list.RefusedReadOnly());
    EXPECT_EQ(ReadBytes(dir / "ro.vlt"), kExampleFile);
}

TEST_F(ListFileTest, ReadErrorIsReported) {
    std::filesystem::create_directory(dir / "dir.vlt");
    ASSERT_EQ(::mkfifo((dir / "fifo.vlt").c_str(), 0600), 0);  // no writer: must not be waited on
    for (const std::filesystem::path& file :
         {dir / "dir.vlt", dir / "fifo.vlt", std::filesystem::path("/dev/zero")}) {
        host = TRecordingHost{};
        auto result = list.ReadListFile(file);
        EXPECT_EQ(result.Status, TListReadResult::TStatus::IoError);
        ASSERT_EQ(host.Errors.size(), 1u);
        EXPECT_NE(host.Errors[0].find(file.filename().string()), std::string::npos);
        EXPECT_FALSE(result.Error.empty());
        EXPECT_TRUE(host.AtRest());
    }
    EXPECT_NE(host.Errors[0].find("not a regular file"), std::string::npos) << host.Errors[0];
}

TEST_F(ListFileTest, WriterRefusesARecordThatWouldReadBackDifferently) {
    // Names and addresses set without the tree's setters.
    BuildExample();
    WriteBytes(dir / "keep.vlt", "previous contents");
    TDocumentRecord& r = tree.First()->LastChild()->Record();
    const TDocumentRecord saved = r;
    for (auto [field, value] : {std::pair{&r.Name, std::string("two\r\nlines")},
                                {&r.Address, std::string("http://a\nb")},
                                {&r.Name, std::string("nul\0", 4)}}) {
        *field = value;
        host.Errors.clear();
        EXPECT_FALSE(list.WriteListFile(dir / "keep.vlt"));
        ASSERT_EQ(host.Errors.size(), 1u);
        EXPECT_NE(host.Errors[0].find("record 3"), std::string::npos) << host.Errors[0];
        EXPECT_EQ(list.Serialize(), "");
        r = saved;
    }
    EXPECT_EQ(ReadBytes(dir / "keep.vlt"), "previous contents");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST_F(ListFileTest, WriterRefusesTextsWithTagsTheReaderWouldObey) {
    // A file of the old format ends its bodies only at "#[END-DOC]": its texts may hold tags of the current
    // format, which the editing rules keep out of anything typed. Written, they would cut the document short,
    // start records of their own or lose lines, so the writer refuses and the old file stays as it was.
    const std::string oldFile =
        CrLf({"#[VERSION:200]", "#[DOC:000002:2002/05/21:a]", "x #[END] y", "#[END-DOC]",
              "#[DOC:000002:2002/05/21:b]", "#[DAT:0000:20240101:c]", "#[END-DOC]"});
    auto result = ReadText(oldFile);
    ASSERT_TRUE(result.OldFormat);
    ASSERT_FALSE(result.Damaged());
    EXPECT_EQ(tree.First()->Record().Text, "x #[END] y\r\n");
    EXPECT_FALSE(list.WriteListFile(dir / "in.vlt"));
    ASSERT_EQ(host.Errors.size(), 1u);
    EXPECT_NE(host.Errors[0].find("record 1"), std::string::npos) << host.Errors[0];
    EXPECT_EQ(ReadBytes(dir / "in.vlt"), oldFile);

    // Which texts are refused: only those the reader would take differently. The others read back the same.
    const struct {
        std::string text, address;
        bool refused;
    } cases[] = {
        {"a\r\n#[DAT:0000:20240101:c]\r\n", "", true},  // would open a record
        {"#[DATA:E]\r\nlost\r\n", "", true},           // would end the body
        {"#[END]\r\n", "", true},
        {"#[ADDR:elsewhere]\r\n", "http://", true},  // would replace the address
        {"#[ADDR:http://]\r\n", "http://", false},   // sets it to what it is
        {"a #[DAT: b\r\n#[DATA:S]\r\n #[DATA:E]\r\n", "", false},
        {"#[FILETYPE:VL999]\r\n#[VERSION:200]\r\n#[DOCCOUNT:x]\r\n", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        TDocumentTree one;
        TRecordingHost quiet;
        TListFile writer(one, quiet);
        one.AppendChild(nullptr, Rec("n", dkDocument, c.text, "20240101"))->Record().Address = c.address;
        EXPECT_EQ(writer.WriteListFile(dir / "one.vlt"), !c.refused);
        if (c.refused) continue;
        TDocumentTree back;
        auto reread = TListFile(back, quiet).ReadListFile(dir / "one.vlt");
        EXPECT_FALSE(reread.Damaged());
        ASSERT_EQ(back.Count(), 1u);
        EXPECT_EQ(back.First()->Record(), one.First()->Record());
    }
}

}  // namespace
