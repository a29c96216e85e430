#include "app/IniFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "TestSupport.h"

namespace {

struct IniFileTest : ::testing::Test {
    TTempDir dir;
    TIniFile ini{dir / "velloria.ini"};
};

TEST_F(IniFileTest, NewSectionsAtTheEndNewKeysAtTheEndOfTheirSection) {
    EXPECT_TRUE(ini.WriteString("Application", "Project", "Velloria for Windows"));
    EXPECT_TRUE(ini.WriteString("Default", "TreeSize", "100"));
    EXPECT_TRUE(ini.WriteString("application", "Exists", "false"));  // the existing section, any case
    EXPECT_TRUE(ini.WriteString("Position", "PH", "297"));
    EXPECT_TRUE(
        ini.WriteInteger("DEFAULT", "treesize", 120));  // replaces the value, keeps the key's spelling
    EXPECT_EQ(ReadBytes(ini.FileName()),
              CrLf({"[Application]", "Project=Velloria for Windows", "Exists=false", "[Default]",
                    "TreeSize=120", "[Position]", "PH=297"}));
}

TEST_F(IniFileTest, KeyGoesAfterTheLastEntryNotAfterBlankLines) {
    WriteBytes(ini.FileName(), "; settings\r\n[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
    ini.WriteString("a", "z", "3");
    EXPECT_EQ(ReadBytes(ini.FileName()), CrLf({"; settings", "[A]", "x=1", "z=3", "", "[B]", "y=2"}));
}

TEST_F(IniFileTest, ReadsAsTheProfileFunctionsDo) {
    WriteBytes(ini.FileName(),
               "[Default]\nTreeSize = abc \nRuler=TRUE\nOther=true\nFontName=\"\x82\x6C\x82\x72 "
               "\x83\x53\x83\x56\x83\x62\x83\x4E\"\n"
               "Hex=$1F\nNeg=-5\nBig=99999999999\n;Hidden=1\n[Position]\nPH=300\n");
    EXPECT_TRUE(ini.SectionExists("default"));
    EXPECT_FALSE(ini.SectionExists("Application"));
    EXPECT_EQ(ini.ReadInteger("Default", "TreeSize", 100), 100);  // not a number
    EXPECT_EQ(ini.ReadInteger("Default", "Missing", 100), 100);
    EXPECT_FALSE(ini.ReadBool("Default", "Ruler", true));  // "TRUE" is not "true"
    EXPECT_TRUE(ini.ReadBool("Default", "other", false));
    EXPECT_TRUE(ini.ReadBool("Default", "Missing", true));
    EXPECT_FALSE(ini.ReadBool("Default", "Missing", false));
    EXPECT_EQ(ini.ReadString("Default", "FontName", ""), "\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E");
    EXPECT_EQ(ini.ReadInteger("Default", "Hex", 0), 31);
    EXPECT_EQ(ini.ReadInteger("Default", "Neg", 0), -5);
    EXPECT_EQ(ini.ReadInteger("Default", "Big", 7), 7);
    EXPECT_EQ(ini.ReadString("Default", "Hidden", "none"), "none");
    EXPECT_EQ(ini.ReadInteger("position", "ph", 0), 300);
    EXPECT_EQ(ini.ReadInteger("Default", "PH", 1), 1);  // keys belong to their section
}

TEST_F(IniFileTest, ShiftJisNamesMatchOnlyTheirOwnBytes) {
    // "ア" is 0x83 0x41: its trail byte is the letter A, which must not be folded with 'a'.
    ini.WriteString("S", "\x83\x41", "1");
    EXPECT_EQ(ini.ReadString("S", "\x83\x61", "none"), "none");
    EXPECT_EQ(ini.ReadString("s", "\x83\x41", "none"), "1");
}

TEST_F(IniFileTest, EveryWriteGoesToTheFileAtOnce) {
    TIniFile other(ini.FileName());
    ini.WriteBool("Default", "Ruler", false);
    EXPECT_EQ(other.ReadString("Default", "Ruler", ""), "false");
    WriteBytes(ini.FileName(), "[Default]\r\nRuler=true\r\n");  // changed behind its back
    EXPECT_TRUE(ini.ReadBool("Default", "Ruler", false));
}

// Acts as an ordinary user while it lives when the test runs as the superuser, whom permissions do not stop.
class TOrdinaryUser {
public:
    TOrdinaryUser() {
        if (::geteuid() == 0) FSwitched = ::seteuid(65534) == 0;
    }
    ~TOrdinaryUser() {
        if (FSwitched) {
            EXPECT_EQ(::seteuid(0), 0);
        }
    }
    bool Ok() const { return ::geteuid() != 0; }

private:
    bool FSwitched = false;
};

TEST_F(IniFileTest, UnreadableFileIsKeptAndReportedOnce) {
    // A file that exists but cannot be read must not be taken for an empty one: the next write would
    // replace 40 settings with one key.
    std::string settings;
    for (int i = 0; i < 40; ++i)
        settings += "[S" + std::to_string(i) + "]\r\nKey=" + std::to_string(i) + "\r\n";
    WriteBytes(dir / "settings.ini", settings);
    using std::filesystem::perms;
    std::filesystem::permissions(dir / "settings.ini",
                                 perms::owner_write | perms::group_write | perms::others_write);
    std::filesystem::permissions(dir.Path(), perms::all);
    std::filesystem::create_directory(dir / "folder.ini");
    {
        TOrdinaryUser user;
        ASSERT_TRUE(user.Ok()) << "cannot act as an ordinary user";
        for (const auto& file : {dir / "settings.ini", dir / "folder.ini"}) {
            TIniFile broken(file);
            std::vector<std::string> reports;
            broken.SetOnError([&](const std::string& message) { reports.push_back(message); });
            EXPECT_EQ(broken.ReadInteger("S1", "Key", -1), -1);
            EXPECT_FALSE(broken.SectionExists("S1"));
            EXPECT_FALSE(broken.WriteString("S1", "Key", "x"));
            EXPECT_FALSE(broken.WriteInteger("Default", "TreeSize", 100));
            ASSERT_EQ(reports.size(), 1u) << file;
            EXPECT_NE(reports[0].find(file.filename().string()), std::string::npos) << reports[0];
            EXPECT_EQ(broken.Error(), reports[0]);
        }
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir / "folder.ini"));
    EXPECT_EQ(ReadBytes(dir / "settings.ini"), settings);

    // A missing file is no error.
    bool reported = false;
    ini.SetOnError([&](const std::string&) { reported = true; });
    EXPECT_TRUE(ini.WriteInteger("A", "b", 8));
    EXPECT_FALSE(reported);
}

TEST_F(IniFileTest, NamesAndValuesThatWouldBreakTheLinesAreRefused) {
    ASSERT_TRUE(ini.WriteString("S", "k", "v"));
    const std::string before = ReadBytes(ini.FileName());
    EXPECT_FALSE(ini.WriteString("S", "k", "lf\n[Evil]"));
    EXPECT_FALSE(ini.WriteString("S", "a\rb", "v"));
    EXPECT_FALSE(ini.WriteString("S\r\nT", "k", "v"));
    EXPECT_FALSE(ini.WriteString("S", "a=b", "v"));  // would read as key "a"
    EXPECT_FALSE(ini.WriteString("S]T", "k", "v"));  // would read as section "S"
    EXPECT_FALSE(ini.WriteString("S", ";k", "v"));   // a comment
    EXPECT_NE(ini.Error().find("velloria.ini"), std::string::npos) << ini.Error();
    EXPECT_EQ(ReadBytes(ini.FileName()), before);
}

TEST_F(IniFileTest, PathsAndTheReadOnlyFolder) {
    EXPECT_EQ(TIniFile::PathForExecutable("/opt/velloria/bin/velloria"), "/opt/velloria/bin/velloria.ini");
    EXPECT_EQ(TIniFile::PathForExecutable("C:/Programs/Velloria.exe"), "C:/Programs/Velloria.ini");
    EXPECT_TRUE(TIniFile::CanWriteBeside(dir / "velloria.ini"));
    EXPECT_FALSE(TIniFile::CanWriteBeside(dir / "no" / "such" / "velloria.ini"));
    EXPECT_EQ(TIniFile::ChooseWritable(dir / "no" / "velloria.ini", dir / "config"),
              dir / "config" / "velloria.ini");
    EXPECT_EQ(TIniFile::ChooseWritable(dir / "velloria.ini", dir / "config"), dir / "velloria.ini");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}),
              0);  // the probe left nothing

    TIniFile nowhere(dir / "no" / "velloria.ini");
    EXPECT_FALSE(nowhere.WriteString("A", "b", "c"));
    EXPECT_NE(nowhere.Error().find("velloria.ini"), std::string::npos);
}

}  // namespace
