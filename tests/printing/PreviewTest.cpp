// The preview window on real pages: status text, navigation buttons and the zoom modes; PreviewStrings runs
// it modally. VELLORIA_PRINT_SHOTS=<folder> saves pictures of the window for a look.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "PrintingTestSupport.h"
#include "base/Strings.h"
#include "printing/FormStrPreview.h"
#include "printing/MetaFileList.h"

namespace {

void Shot(QWidget& w, const char* name) {
    QApplication::processEvents();  // the scroll bars follow a new sheet size on a posted layout request
    const QString folder = qEnvironmentVariable("VELLORIA_PRINT_SHOTS");
    if (!folder.isEmpty()) w.grab().save(folder + QLatin1Char('/') + QLatin1String(name) + ".png");
}

class PreviewTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetUpPdfPrinter(FPrinter, FDir.filePath(QStringLiteral("unused.pdf")));
        FPrinter.SetFileName(QStringLiteral("/data/sample.vlt"));
        FPrinter.SetHeader(TStringsPrinter::DocumentHeader(S("会議メモ")));
        FPrinter.SetFooter("%p");
        FPrinter.SetLineNumber(true);
        for (int i = 0; i < 250; ++i) {
            FLines.Add(S("プレビューの") + std::to_string(i + 1) + S("行目\tタブの後 and some words"));
        }
        ASSERT_TRUE(FPrinter.BuildPages(FLines, FPages, QString()));
    }

    QTemporaryDir FDir;
    TStringsPrinter FPrinter;
    TStringList FLines;
    TMetaFileList FPages;
};

TEST_F(PreviewTest, NavigatesAndZooms) {
    const int count = FPages.Count();
    ASSERT_GE(count, 3);
    TFormStrPreview preview(FPrinter, FPages);
    preview.ShowPage(0);
    preview.SetZoom(TFormStrPreview::zmActualSize);
    preview.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&preview));
    const QString total = QString::asprintf("%3d", count);
    EXPECT_EQ(preview.StatusText(), QStringLiteral("  1 / ") + total);
    EXPECT_FALSE(preview.SpeedButton2->isEnabled());
    EXPECT_TRUE(preview.SpeedButton3->isEnabled());
    EXPECT_TRUE(preview.SpeedButton7->isChecked());
    EXPECT_FALSE(preview.SpeedButton1->isVisible());
    EXPECT_FALSE(preview.SpeedButton6->isVisible());

    // Actual size: the whole sheet at the screen's resolution, larger than the window, from its corner.
    const printing::TPaperOffsets o = FPrinter.GetPaperOffsets();
    const double r = FPrinter.ScreenToPrinterRatio();
    const QRect bounds = FPages[0].boundingRect();
    EXPECT_EQ(preview.Image1->size(),
              QSize(printing::RoundHalfEven((bounds.width() + o.Left + o.Right) * r),
                    printing::RoundHalfEven((bounds.height() + o.Top + o.Bottom) * r)));
    EXPECT_EQ(preview.Image1->pos(), QPoint(0, 0));
    EXPECT_GT(preview.ScrollBox1->verticalScrollBar()->maximum(), 0);
    Shot(preview, "preview-actual");

    QTest::mouseClick(preview.SpeedButton3, Qt::LeftButton);
    EXPECT_EQ(preview.StatusText(), QStringLiteral("  2 / ") + total);
    EXPECT_TRUE(preview.SpeedButton2->isEnabled());
    preview.ShowPage(count + 5);
    EXPECT_EQ(preview.CurrentPage(), count - 1);
    EXPECT_EQ(preview.StatusText(), total + QStringLiteral(" / ") + total);
    EXPECT_FALSE(preview.SpeedButton3->isEnabled());

    // "標準": the whole sheet height fits, centred across.
    QTest::mouseClick(preview.SpeedButton5, Qt::LeftButton);
    EXPECT_EQ(preview.ZoomMode(), TFormStrPreview::zmPageHeight);
    EXPECT_FALSE(preview.SpeedButton7->isChecked());
    const int extent = preview.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, preview.ScrollBox1);
    const QSize small = preview.Image1->size();
    EXPECT_EQ(small.height(), preview.ScrollBox1->maximumViewportSize().height() - extent);
    EXPECT_NEAR(preview.Image1->x(), (preview.ScrollBox1->viewport()->width() - small.width()) / 2, 1);
    EXPECT_EQ(preview.ScrollBox1->verticalScrollBar()->maximum(), 0);
    Shot(preview, "preview-whole-page");

    // Resizing only re-centres; "標準" again fills the larger window.
    preview.resize(800, 700);
    QApplication::processEvents();
    EXPECT_EQ(preview.Image1->size(), small);
    EXPECT_NEAR(preview.Image1->x(), (preview.ScrollBox1->viewport()->width() - small.width()) / 2, 1);
    QTest::mouseClick(preview.SpeedButton5, Qt::LeftButton);
    EXPECT_GT(preview.Image1->height(), small.height());
    EXPECT_EQ(preview.Image1->height(), preview.ScrollBox1->maximumViewportSize().height() - extent);

    QTest::mouseClick(preview.SpeedButton8, Qt::LeftButton);
    EXPECT_FALSE(preview.isVisible());
}

TEST_F(PreviewTest, PreviewStringsShowsOnePageModally) {
    TStringList one(std::vector<std::string>{S("一行だけ")});
    QString status;
    bool back = true;
    bool forward = true;
    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* preview = dynamic_cast<TFormStrPreview*>(QApplication::activeModalWidget());
        if (!preview || !preview->isVisible()) return;
        timer.stop();
        status = preview->StatusText();
        back = preview->SpeedButton2->isEnabled();
        forward = preview->SpeedButton3->isEnabled();
        Shot(*preview, "preview-one-page");
        QTest::mouseClick(preview->SpeedButton8, Qt::LeftButton);
    });
    timer.start();
    EXPECT_TRUE(FPrinter.PreviewStrings(one));
    EXPECT_EQ(status, QStringLiteral("  1 /   1"));
    EXPECT_FALSE(back);
    EXPECT_FALSE(forward);
}

}  // namespace
