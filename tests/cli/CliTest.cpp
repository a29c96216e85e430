#include "cli/Cli.h"

#include <gtest/gtest.h>

#include <QString>
#include <sstream>

#include "TestSupport.h"
#include "app/ListFile.h"
#include "support/Sjis.h"

namespace {

const std::filesystem::path kExamples = std::filesystem::path(VELLORIA_SOURCE_DIR) / "examples";

struct TRun {
    int status;
    std::string out, err;
};

TRun Cli(std::vector<std::string> args) {
    std::ostringstream out, err;
    int status = RunVelloriaCli(args, out, err);
    return {status, out.str(), err.str()};
}

// Shift-JIS bytes of a UTF-8 literal.
const auto S = Sjis;

struct CliTest : ::testing::Test {
    TTempDir dir;
    std::string sample = (kExamples / "sample.vlt").string();
};

TEST_F(CliTest, LsPrintsTheIndentedTree) {
    TRun r = Cli({"ls", sample});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("    1 G  2024-04-01 仕事\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("    3 M  2024-04-10   企画書の下書き\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("    5 D  2024-04-03     山田商事\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(" 読書記録\n"), std::string::npos);
    EXPECT_TRUE(r.err.empty());

    TRun raw = Cli({"--raw", "ls", sample});
    EXPECT_NE(raw.out.find(S("企画書の下書き")), std::string::npos);
    EXPECT_EQ(raw.out.find("企画書"), std::string::npos);
}

TEST_F(CliTest, CatByNamesOrNumber) {
    TRun byName = Cli({"cat", sample, "仕事/取引先/山田商事"});
    EXPECT_EQ(byName.status, 0) << byName.err;
    EXPECT_EQ(byName.out, "担当: 山田様\n電話: 03-1234-5678\n請求書は月末締め、翌月20日払い。\n");
    EXPECT_EQ(Cli({"cat", sample, "5"}).out, byName.out);
    EXPECT_EQ(Cli({"cat", sample, "/仕事/取引先/山田商事"}).out, byName.out);

    TRun raw = Cli({"--raw", "cat", sample, "5"});
    EXPECT_EQ(raw.out, S("担当: 山田様\r\n電話: 03-1234-5678\r\n請求書は月末締め、翌月20日払い。\r\n"));

    TRun missing = Cli({"cat", sample, "仕事/ない"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("no node"), std::string::npos);
    EXPECT_EQ(Cli({"cat", sample, "99"}).status, 1);
}

TEST_F(CliTest, CatFindsNamesThatHoldASlash) {
    TDocumentTree tree;
    TDocumentNode* g = tree.AppendChild(nullptr, Rec("a/b", dkGroup));
    tree.AppendChild(g, Rec("c", dkDocument, "deep\r\n"));
    tree.AppendChild(nullptr, Rec("a", dkGroup));
    TRecordingHost host;
    TListFile(tree, host).WriteListFile(dir / "s.vlt");
    EXPECT_EQ(Cli({"cat", (dir / "s.vlt").string(), "a/b/c"}).out, "deep\n");
}

TEST_F(CliTest, ConvertKeepsOurFilesByteForByteAndUpgradesOldOnes) {
    std::string copy = (dir / "copy.vlt").string();
    TRun r = Cli({"convert", sample, copy});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadBytes(copy), ReadBytes(sample));

    std::string upgraded = (dir / "old.vlt").string();
    r = Cli({"convert", (kExamples / "sample.vlp").string(), upgraded});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("古い様です"), std::string::npos);  // the old-version warning
    EXPECT_EQ(ReadBytes(upgraded).rfind("Velloria version 2.03\r\n#[FILETYPE:VL203]\r\n", 0), 0u);
    EXPECT_EQ(Cli({"check", upgraded}).status, 0);
}

TEST_F(CliTest, ConvertRefusesToWriteOverWhatItCouldNotReadUnlessForced) {
    std::string bytes = ReadBytes(sample);
    bytes.insert(bytes.find("#[DAT:", 100), "#[END]\r\n");  // a stray end
    WriteBytes(dir / "bad.vlt", bytes);
    WriteBytes(dir / "empty.vlt", "");
    WriteBytes(dir / "notes.txt", "just a text file\r\n");
    const std::string out = (dir / "out.vlt").string();
    for (const char* in : {"bad.vlt", "empty.vlt", "notes.txt"}) {
        WriteBytes(out, "previous");
        TRun r = Cli({"convert", (dir / in).string(), out});
        EXPECT_EQ(r.status, 1) << in;
        EXPECT_NE(r.err.find("not written"), std::string::npos) << r.err;
        EXPECT_EQ(ReadBytes(out), "previous") << in;
    }
    EXPECT_EQ(Cli({"--force", "convert", (dir / "bad.vlt").string(), out}).status, 1);  // still damaged
    EXPECT_EQ(Cli({"check", out}).status, 0);

    // The output is the input itself: by its name, another spelling, a symbolic or a hard link.
    std::filesystem::copy_file(kExamples / "sample.vlp", dir / "old.vlp");
    std::filesystem::create_symlink("old.vlp", dir / "link.vlp");
    std::filesystem::create_hard_link(dir / "old.vlp", dir / "hard.vlp");
    const std::string old = ReadBytes(dir / "old.vlp");
    for (const char* name : {"old.vlp", "./old.vlp", "link.vlp", "hard.vlp"}) {
        TRun r = Cli({"convert", (dir / "old.vlp").string(), (dir / name).string()});
        EXPECT_EQ(r.status, 1) << name;
        EXPECT_NE(r.err.find("is the input"), std::string::npos) << r.err;
        EXPECT_EQ(ReadBytes(dir / "old.vlp"), old) << name;
    }
    EXPECT_EQ(Cli({"--force", "convert", (dir / "old.vlp").string(), (dir / "link.vlp").string()}).status, 0);
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.vlp"));
    EXPECT_EQ(ReadBytes(dir / "old.vlp").rfind("Velloria version 2.03\r\n", 0), 0u);
}

TEST_F(CliTest, CheckReportsDamage) {
    TRun ok = Cli({"check", sample});
    EXPECT_EQ(ok.status, 0);
    EXPECT_NE(ok.out.find("10 records, no damage"), std::string::npos) << ok.out;

    std::string bytes = ReadBytes(sample);
    bytes.insert(bytes.find("#[DAT:", 100), "#[END]\r\n");  // a stray end
    WriteBytes(dir / "bad.vlt", bytes);
    TRun bad = Cli({"check", (dir / "bad.vlt").string()});
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("damaged (first bad line"), std::string::npos) << bad.err;
    EXPECT_NE(bad.err.find("10 records kept"), std::string::npos) << bad.err;

    TRun listed = Cli({"ls", (dir / "bad.vlt").string()});  // prints what it could read, then fails
    EXPECT_EQ(listed.status, 1);
    EXPECT_NE(listed.out.find("読書記録"), std::string::npos);

    TRun missing = Cli({"check", (dir / "none.vlt").string()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("ファイル読み込みに失敗しました。\n"), std::string::npos) << missing.err;
}

TEST_F(CliTest, BadArgumentsGiveTheUsage) {
    for (std::vector<std::string> args : std::vector<std::vector<std::string>>{{},
                                                                               {"ls"},
                                                                               {"cat", sample},
                                                                               {"frobnicate", sample},
                                                                               {"--bogus", "ls", sample},
                                                                               {"convert", sample}}) {
        TRun r = Cli(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find("usage: velloria-cli"), std::string::npos);
        EXPECT_TRUE(r.out.empty());
    }
    TRun help = Cli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("usage:"), std::string::npos);
}

}  // namespace
