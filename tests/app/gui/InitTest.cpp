#include "app/gui/Init.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>
#include <QWidget>

#include "GuiTestSupport.h"
#include "TestSupport.h"

namespace {

struct InitTest : ::testing::Test {
    TTempDir dir;
    std::filesystem::path file = dir / "velloria.ini";

    void SetUp() override { App(); }

    // The main window's settings component, as its creation handler uses it.
    std::unique_ptr<TInit> MainWindowInit(QWidget& w) {
        auto init = std::make_unique<TInit>(&w);
        init->SetProject("Velloria for Windows");
        init->SetVersion("2.10");
        init->SetStartTop(153);
        init->SetStartLeft(258);
        init->SetStartHeight(297);
        init->SetStartWidth(500);
        init->SetFileName(file);
        return init;
    }
};

TEST_F(InitTest, FirstRunOpensTheDefaultWindowAndOrdersTheSections) {
    QWidget w;
    auto init = MainWindowInit(w);
    init->OpenIniFile();
    init->RestorePosition();
    EXPECT_EQ(w.pos(), QPoint(258, 153));
    EXPECT_EQ(w.size(), QSize(500, 297));
    EXPECT_TRUE(w.isVisible());
    // The main window's own settings with their defaults.
    EXPECT_EQ(init->ReadInteger("Default", "TreeSize", 100), 100);
    EXPECT_TRUE(init->ReadBool("Default", "Ruler", true));
    // At closing: the "Default" writes, then the position.
    init->WriteInteger("Default", "TreeSize", 100);
    init->WriteBool("Default", "Ruler", true);
    init->WriteString("Default", "FontName", "\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E");
    init->WriteInteger("Default", "FontSize", 9);
    init->SavePosition();
    std::string text = ReadBytes(file);
    EXPECT_EQ(text, CrLf({"[Application]", "Project=Velloria for Windows", "Comment=" + init->Comment(),
                          "Version=2.10", "Exists=false", "[Default]", "TreeSize=100", "Ruler=true",
                          "FontName=\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E", "FontSize=9",
                          "[Position]", "PH=297", "PW=500", "PT=153", "PL=258"}));
}

TEST_F(InitTest, ExistingApplicationSectionIsLeftAlone) {
    WriteBytes(file,
               CrLf({"[application]", "Version=1.00", "[Position]", "PL=10", "PT=20", "PW=300", "PH=200"}));
    QWidget w;
    auto init = MainWindowInit(w);  // Version 2.10 now
    init->OpenIniFile();
    init->RestorePosition();
    EXPECT_EQ(ReadBytes(file).substr(0, 29), "[application]\r\nVersion=1.00\r\n");
    EXPECT_EQ(w.pos(), QPoint(10, 20));
    EXPECT_EQ(w.size(), QSize(300, 200));
}

TEST_F(InitTest, MaximizedWindowStoresTheScreenLessHundred) {
    QWidget w;
    auto init = MainWindowInit(w);
    init->OpenIniFile();
    init->RestorePosition();
    w.showMaximized();
    QApplication::processEvents();
    ASSERT_TRUE(w.isMaximized());
    init->SavePosition();
    QSize screen = w.screen()->geometry().size();
    EXPECT_EQ(init->ReadInteger("Position", "PW", 0), screen.width() - 100);
    EXPECT_EQ(init->ReadInteger("Position", "PH", 0), screen.height() - 100);
    EXPECT_EQ(init->ReadInteger("Position", "PT", -1), 0);
    EXPECT_EQ(init->ReadInteger("Position", "PL", -1), 0);

    // The next start opens a normal window of that size.
    QWidget next;
    auto again = MainWindowInit(next);
    again->OpenIniFile();
    again->RestorePosition();
    EXPECT_FALSE(next.isMaximized());
    EXPECT_EQ(next.size(), QSize(screen.width() - 100, screen.height() - 100));
}

TEST_F(InitTest, FixedSizeFormIsOnlyMoved) {
    WriteBytes(file, CrLf({"[Position]", "PL=40", "PT=50", "PW=900", "PH=800"}));
    QWidget w;
    w.setFixedSize(320, 240);
    auto init = MainWindowInit(w);
    init->OpenIniFile();
    init->RestorePosition();
    EXPECT_EQ(w.pos(), QPoint(40, 50));
    EXPECT_EQ(w.size(), QSize(320, 240));
}

TEST_F(InitTest, NewComponentTakesTheOwnersBounds) {
    QWidget w;
    w.setGeometry(11, 22, 333, 244);
    TInit init(&w);
    EXPECT_EQ(init.StartLeft(), w.x());
    EXPECT_EQ(init.StartTop(), w.y());
    EXPECT_EQ(init.StartWidth(), 333);
    EXPECT_EQ(init.StartHeight(), 244);
    EXPECT_EQ(init.Version(), "1.00");
    EXPECT_FALSE(init.Comment().empty());
    EXPECT_EQ(TInit::DefaultFileName().extension(), ".ini");
}

}  // namespace
