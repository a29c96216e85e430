// Damaged and foreign files: the reader never crashes or hangs, keeps every intact record, reports the
// damage once with the first bad line, and always puts the progress bar and the cursor back.
#include <gtest/gtest.h>

#include <random>

#include "TestSupport.h"
#include "TreeGenerator.h"
#include "app/LineReader.h"
#include "app/ListFile.h"

namespace {

const std::string kHead = CrLf({"Velloria version 2.03", "#[FILETYPE:VL203]", "#[DOCCOUNT:3]"});

std::string Record(const std::string& name, const std::string& body = "", const std::string& dat = "0000") {
    return CrLf({"#[DAT:" + dat + ":20240101:" + name + "]", "#[ADDR:http://]", "#[DATA:S]", body,
                 "#[DATA:E]", "#[END]"});
}

// Every case runs twice: with the file read in blocks and with it mapped into memory.
struct DamageTest : ::testing::TestWithParam<bool> {
    std::size_t savedThreshold = TLineReader::MapThreshold;
    void SetUp() override { TLineReader::MapThreshold = GetParam() ? 0 : savedThreshold; }
    void TearDown() override { TLineReader::MapThreshold = savedThreshold; }

    TTempDir dir;
    TDocumentTree tree;
    TRecordingHost host;
    TListFile list{tree, host};

    TListReadResult Read(const std::string& bytes) {
        WriteBytes(dir / "d.vlt", bytes);
        auto result = list.ReadListFile(dir / "d.vlt");
        EXPECT_TRUE(host.AtRest());
        EXPECT_EQ(host.DamageLines.size(), result.Damaged() ? 1u : 0u);
        if (result.Damaged()) {
            EXPECT_EQ(host.DamageLines[0], result.FirstBadLine);
        }
        ExpectSavesSettle();
        return result;
    }

    // Whatever a damaged file gave, saving it gives a file that the next read and save leave as it is:
    // read, write, read, write writes the same bytes twice.
    void ExpectSavesSettle() {
        TRecordingHost quiet;
        ASSERT_TRUE(TListFile(tree, quiet).WriteListFile(dir / "first.vlt"))
            << ::testing::PrintToString(quiet.Errors);
        TDocumentTree again;
        TListFile(again, quiet).ReadListFile(dir / "first.vlt");
        ASSERT_TRUE(TListFile(again, quiet).WriteListFile(dir / "second.vlt"));
        EXPECT_EQ(ReadBytes(dir / "second.vlt"), ReadBytes(dir / "first.vlt"));
    }
};

TEST_P(DamageTest, BadRecordLineKeepsItsTextAsADocumentAtTheCurrentDepth) {
    // Line 10 starts b, a child of a; line 16 is the bad record line, the first bad line.
    const std::string untitled = TDocumentRecord::kDefaultName;
    for (auto [bad, name] : {std::pair<std::string, std::string>{"#[DAT:0G00:20240101:x]", "x"},
                             {"#[DAT:00Z1:20240101:x]", "x"},
                             {"#[DAT:0000:2024]", untitled}}) {
        tree.Clear();
        host = TRecordingHost{};
        std::string file = kHead + Record("a") + Record("b", "", "0100") +
                           CrLf({bad, "#[ADDR:http://x]", "#[DATA:S]", "typed", "#[DATA:E]", "#[END]"}) +
                           Record("c");
        auto result = Read(file);
        EXPECT_TRUE(result.Succeeded());
        EXPECT_EQ(result.FirstBadLine, 16) << bad;
        EXPECT_EQ(result.DamagedLines, 1) << bad;
        ASSERT_EQ(Shape(tree), "a[b," + name + "],c") << bad;
        const TDocumentRecord& kept = tree.First()->LastChild()->Record();
        EXPECT_EQ(kept.Kind, dkDocument);
        EXPECT_EQ(kept.Text, "typed");
        EXPECT_EQ(kept.Address, "http://x");
    }
}

TEST_P(DamageTest, TagInsideANameOrAddressLineIsDamageAndOpensNothing) {
    // The address line holds the start of the body too; the real start follows. Once read, a save writes
    // the address back as it is, and the body must not gain a "#[DATA:S]" line on every save.
    auto result = Read(kHead +
                       CrLf({"#[DAT:0000:20240101:a#[END]]", "#[ADDR:http://]\x1A#[DATA:S]", "#[DATA:S]",
                             "text", "#[DATA:E]", "#[END]"}) +
                       Record("b"));
    EXPECT_EQ(result.FirstBadLine, 4);
    EXPECT_EQ(result.DamagedLines, 2);
    ASSERT_EQ(tree.Count(), 2u);
    EXPECT_EQ(tree.First()->Record().Name, "a#[END]");
    EXPECT_EQ(tree.First()->Record().Address, "http://]\x1A#[DATA:S");
    EXPECT_EQ(tree.First()->Record().Text, "text");

    // An address line inside the body replaces the address: a tag in it is damage just the same.
    tree.Clear();
    host = TRecordingHost{};
    result = Read(kHead + CrLf({"#[DAT:0000:20240101:c]", "#[ADDR:http://]", "#[DATA:S]", "#[ADDR:x#[DATA:S]",
                                "#[DATA:E]", "#[END]"}));
    EXPECT_EQ(result.FirstBadLine, 7);
    EXPECT_EQ(result.DamagedLines, 1);
    ASSERT_EQ(tree.Count(), 1u);
    EXPECT_EQ(tree.First()->Record().Address, "x#[DATA:S");

    // An address line after the body names another address than the body's own address line: written
    // back, the body's line would set the address again: that line is damage and the body's address stays.
    tree.Clear();
    host = TRecordingHost{};
    result = Read(kHead + CrLf({"#[DAT:0000:20240101:c]", "#[DATA:S]", "#[ADDR:x]", "#[DATA:E]", "#[ADDR:y]",
                                "#[END]"}));
    EXPECT_EQ(result.FirstBadLine, 8);
    EXPECT_EQ(result.DamagedLines, 1);
    ASSERT_EQ(tree.Count(), 1u);
    EXPECT_EQ(tree.First()->Record().Address, "x");

    // A tag in a body's address line that a later one replaces is only text.
    tree.Clear();
    host = TRecordingHost{};
    result = Read(kHead + CrLf({"#[DAT:0000:20240101:c]", "#[DATA:S]", "#[ADDR:a#[DAT:x]", "#[ADDR:b]",
                                "#[DATA:E]", "#[END]"}));
    EXPECT_FALSE(result.Damaged());
    ASSERT_EQ(tree.Count(), 1u);
    EXPECT_EQ(tree.First()->Record().Address, "b");

    // The separator before the name is written as ':', which turns "#[DATA" in the date into a tag.
    tree.Clear();
    host = TRecordingHost{};
    result = Read(kHead + CrLf({"#[DAT:0000:200#[DATAname]", "#[ADDR:]", "#[DATA:S]", "#[DATA:E]", "#[END]"}));
    EXPECT_EQ(result.FirstBadLine, 4);
    EXPECT_EQ(result.DamagedLines, 1);
}

TEST_P(DamageTest, FileWithoutFileTypeLineIsNoListFile) {
    for (std::string bytes : {std::string(), std::string("just some text\r\n"), Record("a")}) {
        tree.Clear();
        host = TRecordingHost{};
        auto result = Read(bytes);
        EXPECT_EQ(result.FirstBadLine, 1) << bytes;
    }
    EXPECT_EQ(Shape(tree), "a");  // the intact record is still kept
}

TEST_P(DamageTest, StrayAndRepeatedEnd) {
    auto result = Read(kHead + CrLf({"#[END]"}) + Record("a") + CrLf({"#[END]"}) + Record("b"));
    EXPECT_EQ(Shape(tree), "a,b");
    EXPECT_EQ(result.FirstBadLine, 4);
    EXPECT_EQ(result.DamagedLines, 2);
}

TEST_P(DamageTest, FileEndingInsideARecordKeepsWhatWasRead) {
    auto result =
        Read(kHead + Record("a") + "#[DAT:0000:20240101:b]\r\n#[ADDR:x]\r\n#[DATA:S]\r\nfirst\r\nsec");
    ASSERT_EQ(Shape(tree), "a,b");
    EXPECT_EQ(tree.Child(nullptr, 1)->Record().Text, "first\r\nsec");
    EXPECT_EQ(tree.Child(nullptr, 1)->Record().Address, "x");
    EXPECT_EQ(result.FirstBadLine, 10);  // the record line of the unfinished record
}

TEST_P(DamageTest, RecordWithoutEndIsClosedByTheNext) {
    std::string file = kHead +
                       CrLf({"#[DAT:0000:20240101:a]", "#[ADDR:http://]", "#[DATA:S]", "text", "#[DATA:E]"}) +
                       Record("b");
    auto result = Read(file);
    ASSERT_EQ(Shape(tree), "a,b");
    EXPECT_EQ(tree.First()->Record().Text, "text");
    EXPECT_EQ(result.FirstBadLine, 4);
}

TEST_P(DamageTest, EndInsideABodyClosesTheRecord) {
    auto result = Read(kHead + CrLf({"#[DAT:0000:20240101:a]", "#[ADDR:]", "#[DATA:S]", "one", "#[END]"}) +
                       Record("b"));
    ASSERT_EQ(Shape(tree), "a,b");
    EXPECT_EQ(tree.First()->Record().Text, "one");
    EXPECT_EQ(result.FirstBadLine, 8);
}

TEST_P(DamageTest, NulBytesAreDropped) {
    std::string body = std::string("ab\0\0c", 5);
    auto result = Read(kHead + Record("a", body) + Record(std::string("b\0", 2)));
    ASSERT_EQ(tree.Count(), 2u);
    EXPECT_EQ(tree.First()->Record().Text, "abc");
    EXPECT_EQ(tree.Child(nullptr, 1)->Record().Name, "b");
    EXPECT_EQ(result.FirstBadLine, 7);

    // A block of zeros where a crash left a hole.
    tree.Clear();
    host = TRecordingHost{};
    result = Read(kHead + Record("a") + std::string(5000, '\0') + "\r\n" + Record("b"));
    EXPECT_EQ(Shape(tree), "a,b");
    EXPECT_TRUE(result.Damaged());
}

TEST_P(DamageTest, EndOfFileMarkAndControlBytes) {
    auto result = Read(kHead + Record("a", "x\x1Ay") + "\x1A");
    EXPECT_FALSE(result.Damaged());
    ASSERT_EQ(tree.Count(), 1u);
    EXPECT_EQ(tree.First()->Record().Text, "x\x1Ay");  // inside a text the byte is kept
}

TEST_P(DamageTest, LfOnlyAndCrOnlyLineEndsReadTheSame) {
    TDocumentTree expected;
    TRecordingHost quiet;
    TListFile reference(expected, quiet);
    std::string crlf = kHead + Record("a", "one\r\ntwo\r\n") + Record("b", "", "0100") + Record("c", "\r\nx");
    WriteBytes(dir / "ref.vlt", crlf);
    reference.ReadListFile(dir / "ref.vlt");
    ASSERT_EQ(Shape(expected), "a[b],c");

    for (std::string ending : {"\n", "\r"}) {
        std::string file;
        for (std::size_t i = 0; i < crlf.size(); ++i) {
            if (crlf.compare(i, 2, "\r\n") == 0) {
                file += ending;
                ++i;
            } else {
                file += crlf[i];
            }
        }
        tree.Clear();
        host = TRecordingHost{};
        auto result = Read(file);
        EXPECT_FALSE(result.Damaged());
        ASSERT_EQ(Shape(tree), "a[b],c");
        // Texts come back with CR LF, so a save writes the format's line ends.
        EXPECT_EQ(list.Serialize(), reference.Serialize());
    }
}

TEST_P(DamageTest, MutatedFilesNeverBreakTheReader) {
    std::mt19937 rng(99);
    TDocumentTree source;
    TTreeGeneratorOptions options;
    options.Documents = 30;
    GenerateTree(source, rng, options);
    TRecordingHost quiet;
    const std::string good = TListFile(source, quiet).Serialize();
    const char noise[] = {'\0', '\r', '\n', '\x1A', '#', '[', ']', ':', 'Z', '\x81'};
    for (int round = 0; round < 150; ++round) {
        std::string bytes = good;
        int edits = 1 + round % 20;
        for (int i = 0; i < edits; ++i) {
            std::size_t at = std::uniform_int_distribution<std::size_t>(0, bytes.size() - 1)(rng);
            switch (rng() % 3) {
                case 0:
                    bytes[at] = noise[rng() % sizeof noise];
                    break;
                case 1:
                    bytes.erase(at, rng() % 40);
                    break;
                default:
                    bytes.insert(at, std::string(1 + rng() % 3, noise[rng() % sizeof noise]));
                    break;
            }
        }
        if (round % 10 == 0) bytes.resize(bytes.size() / 2);  // cut off
        tree.Clear();
        host = TRecordingHost{};
        auto result = Read(bytes);
        EXPECT_LE(static_cast<long>(tree.Count()), static_cast<long>(source.Count()) + edits);
        EXPECT_LE(host.Count("busy"), 1);
    }
}

// The old format (version 200): a group line and its index end, documents with bodies up to their end,
// group ends.
std::string OldFile(std::initializer_list<std::string> lines) {
    std::string out = CrLf({"#[VERSION:200]"});
    for (const auto& l : lines) out += l + "\r\n";
    return out;
}
std::string G(const std::string& name) {
    return "#[GRP:000001:2001/04/20:" + name + "]";
}
std::string D(const std::string& name) {
    return "#[DOC:000002:2002/05/21:" + name + "]";
}

TEST_P(DamageTest, OldFormatIsReadAfterAWarning) {
    auto result = Read(OldFile({G("g"), "#[END-INDEX]", D("a"), "line 1", "", "#[END-DOC]", G("empty"),
                                "#[END-INDEX]", "#[END-GRP]", G("h"), "#[END-INDEX]", D("b"), "#[END-DOC]",
                                "#[END-GRP]", "#[END-GRP]", D("top"), "x", "#[END-DOC]"}));
    EXPECT_TRUE(result.OldFormat);
    EXPECT_FALSE(result.Damaged());
    ASSERT_EQ(host.Warnings.size(), 1u);
    EXPECT_EQ(host.Warnings[0], listfile::kOldVersion);
    EXPECT_EQ(Shape(tree), "g(1)[a,empty(1),h(1)[b]],top");
    const TDocumentRecord& a = tree.First()->FirstChild()->Record();
    EXPECT_EQ(a.Text, "line 1\r\n\r\n");
    EXPECT_EQ(a.Date, "20020521");
    EXPECT_EQ(a.Address, "");
    EXPECT_EQ(tree.First()->Record().Date, "20010420");
    EXPECT_EQ(tree.Child(nullptr, 1)->Record().Text, "x\r\n");
    EXPECT_EQ(host.Count("busy"), 0);  // no progress for old files
    EXPECT_FALSE(host.Modified);

    // The next save writes the current format.
    std::string saved = list.Serialize();
    EXPECT_EQ(saved.rfind("Velloria version 2.03\r\n#[FILETYPE:VL203]\r\n#[DOCCOUNT:6]\r\n", 0), 0u);
}

TEST_P(DamageTest, OldFormatNextToATarget) {
    TDocumentNode* empty = tree.AppendChild(nullptr, Rec("t", dkGroup));
    tree.AppendChild(nullptr, Rec("u"));
    WriteBytes(dir / "o.vlp", OldFile({D("a"), "#[END-DOC]", D("b"), "#[END-DOC]"}));
    list.ReadListFile(dir / "o.vlp", empty);  // a group without children takes them in
    EXPECT_EQ(Shape(tree), "t(1)[a,b],u");
    list.ReadListFile(dir / "o.vlp", tree.Child(nullptr, 1));  // a document: at the end of its level
    EXPECT_EQ(Shape(tree), "t(1)[a,b],u,a,b");
}

TEST_P(DamageTest, OldFormatStrayEndsAreIgnored) {
    auto result =
        Read(OldFile({"#[END-GRP]", D("a"), "#[END-DOC]", "#[END-DOC]", "#[END-INDEX]", D("b"), "body"}));
    EXPECT_EQ(Shape(tree), "a,b");
    EXPECT_EQ(tree.Child(nullptr, 1)->Record().Text, "body\r\n");  // kept although its end is missing
    EXPECT_EQ(result.FirstBadLine, 2);
    EXPECT_EQ(result.DamagedLines, 4);
}

INSTANTIATE_TEST_SUITE_P(ReadOrMap, DamageTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Mapped" : "Read"; });

}  // namespace
