// TStringsPrinter with Qt: properties, header and footer codes, paper offsets from a QPrinter, the progress
// window, cancelling a layout, and a PDF of the sample list printed through the real QPrinter path and
// read back with pdftotext.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <tuple>

#include "PrintingTestSupport.h"
#include "base/Strings.h"
#include "printing/FormStrProgress.h"
#include "printing/MetaFileList.h"

namespace {

const QDateTime kFebruaryFirst(QDate(2001, 2, 1), QTime(9, 5, 7));

TEST(StringsPrinter, SettersClampAndAssignCopiesEverything) {
    TStringsPrinter p;
    p.SetColumnCount(5);
    p.SetMarginTop(-1);
    p.SetMarginBottom(150);
    p.SetColumnSpace(101);
    p.SetHeaderAlign(static_cast<TStringsPrinterHeaderAlign>(7));
    EXPECT_EQ(p.ColumnCount(), 3);
    EXPECT_EQ(p.MarginTop(), 0);
    EXPECT_EQ(p.MarginBottom(), 100);
    EXPECT_EQ(p.ColumnSpace(), 100);
    EXPECT_EQ(p.HeaderAlign(), haNone);

    p.SetDocumentDefaults();
    p.SetColumnCount(2);
    p.SetFileName(QStringLiteral("/home/user/a.vlt"));
    p.SetHeader(TStringsPrinter::DocumentHeader(S("名前")));
    p.SetFooter("%p");
    p.SetLineNumber(true);
    p.SetFontColor(Qt::red);
    TStringsPrinter q;
    q.Assign(p);
    EXPECT_EQ(q.Header(), "%F - " + S("名前") + "  %y/%m/%d %t");
    auto all = [](const TStringsPrinter& x) {
        return std::make_tuple(x.ColumnCount(), x.ColumnSpace(), x.FileName(), x.Font(), x.FontColor(),
                               x.Header(), x.Footer(), x.HeaderAlign(), x.FooterAlign(), x.LineNumber(),
                               x.MarginTop(), x.MarginBottom(), x.MarginLeft(), x.MarginRight());
    };
    EXPECT_TRUE(all(q) == all(p));
    EXPECT_EQ(std::make_tuple(q.MarginTop(), q.MarginBottom(), q.MarginLeft(), q.MarginRight()),
              std::make_tuple(15, 15, 10, 10));
    EXPECT_EQ(std::make_pair(q.HeaderAlign(), q.FooterAlign()), std::make_pair(haLeft, haCenter));
    EXPECT_EQ(q.Font().pixelSize(), 12);
}

TEST(StringsPrinter, ExpandTemplateReplacesEveryCode) {
    TStringsPrinter p;
    p.SetFileName(QStringLiteral("/home/user/文書/メモ.vlt"));
    auto expand = [&](const std::string& t, int page = 1) {
        return p.ExpandTemplate(t, kFebruaryFirst, page);
    };
    EXPECT_EQ(expand("%y/%m/%d"), QStringLiteral("2001/2/1"));
    EXPECT_EQ(expand("Page %p", 3), QStringLiteral("Page 3"));
    EXPECT_EQ(expand("%F"), QStringLiteral("メモ.vlt"));
    EXPECT_EQ(expand("%f"), QStringLiteral("/home/user/文書/メモ.vlt"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^0?9\\D+05\\D+07\\D*$")).match(expand("%t")).hasMatch())
        << expand("%t").toStdString();
    // A lone '%' at the end adds nothing; '%' before any other character gives that character.
    EXPECT_EQ(expand("abc%"), QStringLiteral("abc"));
    EXPECT_EQ(expand("100%%"), QStringLiteral("100%"));
    EXPECT_EQ(expand("%x%Q%P"), QStringLiteral("xQP"));
    EXPECT_EQ(expand("%" + S("日") + "x"), QStringLiteral("日x"));
    // A percent sign that came in with a document name is a code like any other.
    EXPECT_EQ(expand("50%d"), QStringLiteral("501"));
    EXPECT_EQ(expand(TStringsPrinter::DocumentHeader(S("会議メモ")), 2),
              QStringLiteral("メモ.vlt - 会議メモ  2001/2/1 ") + expand("%t"));
}

TEST(StringsPrinter, PaperOffsetsComeFromThePrintersPaper) {
    TStringsPrinter p;
    QPrinter& printer = p.Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(4, 4, 4, 4), QPageLayout::Millimeter);
    // Qt keeps the margins in whole points, a little under 4 mm; the paper table's size is within a
    // few printer pixels (0.1 mm) of the paper Qt describes.
    auto near = [&](const printing::TPaperOffsets& o) {
        const QRect page = printer.pageRect(QPrinter::DevicePixel).toRect();
        const QRect paper = printer.paperRect(QPrinter::DevicePixel).toRect();
        EXPECT_NEAR(o.Left, page.left() - paper.left(), 5);
        EXPECT_NEAR(o.Top, page.top() - paper.top(), 5);
        EXPECT_NEAR(o.Right, paper.right() - page.right(), 5);
        EXPECT_NEAR(o.Bottom, paper.bottom() - page.bottom(), 5);
        EXPECT_NEAR(o.Left, p.MmToPrinterPixels(4), 8);
    };
    near(p.GetPaperOffsets());
    // In landscape the paper's width and height swap with the page's.
    printer.setPageOrientation(QPageLayout::Landscape);
    near(p.GetPaperOffsets());
    printer.setPageOrientation(QPageLayout::Portrait);
    // A paper without a code is measured by its own size.
    printer.setPageSize(QPageSize(QSizeF(100, 123), QPageSize::Millimeter));
    near(p.GetPaperOffsets());

    QFont font(QStringLiteral("ＭＳ ゴシック"));
    font.setPointSize(9);
    p.SetFont(font);
    EXPECT_EQ(p.PrinterFont().pixelSize(), 9 * printer.resolution() / 72);
    font.setPixelSize(12);
    p.SetFont(font);
    EXPECT_EQ(p.PrinterFont().pixelSize(), printing::RoundHalfEven(12 / p.ScreenToPrinterRatio()));
}

TEST(StringsPrinter, ProgressPositionAndCancel) {
    TFormStrProgress window;
    window.UpdateProgress(0, 0);  // a single line: at once 100
    EXPECT_EQ(window.Position(), 100);
    window.UpdateProgress(3, 1);
    EXPECT_EQ(window.Position(), 33);
    window.UpdateProgress(200, 1);  // 0.5 rounds to even
    EXPECT_EQ(window.Position(), 0);
    window.UpdateProgress(200, 3);
    EXPECT_EQ(window.Position(), 2);
    EXPECT_FALSE(window.Cancelled());
    window.close();  // closing the window is a cancel as well, and leaves it to the layout
    EXPECT_TRUE(window.Cancelled());
}

TEST(StringsPrinter, CancelDuringLayoutLeavesThePrinterAlone) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    {
        QFile old(pdf);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    TStringsPrinter p;
    SetUpPdfPrinter(p, pdf);
    TStringList lines(std::vector<std::string>(20000, S("長い文書の一行です。")));

    int positionAtCancel = -1;
    QTimer timer;
    timer.setInterval(0);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        TFormStrProgress* window = p.ProgressWindow();
        if (!window || window->Position() < 10 || positionAtCancel >= 0) return;
        positionAtCancel = window->Position();
        const QString shots = qEnvironmentVariable("VELLORIA_PRINT_SHOTS");
        if (!shots.isEmpty()) window->grab().save(shots + QStringLiteral("/progress.png"));
        QTest::mouseClick(window->Button1, Qt::LeftButton);
    });
    timer.start();
    EXPECT_EQ(p.Print(lines), TPrintResult::Cancelled);
    timer.stop();
    EXPECT_GE(positionAtCancel, 10);
    EXPECT_LT(positionAtCancel, 100);
    EXPECT_EQ(p.ProgressWindow(), nullptr);
    QFile old(pdf);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("old"));

    // An output file that cannot be written is a failure, not a success.
    p.Printer().setOutputFileName(dir.filePath(QStringLiteral("no/such/folder/out.pdf")));
    TStringList one(std::vector<std::string>{"x"});
    EXPECT_EQ(p.Print(one), TPrintResult::Failed);
    EXPECT_TRUE(p.LastError().contains(QStringLiteral("out.pdf")));
}

QString RunTool(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    EXPECT_TRUE(process.waitForFinished(60000)) << program.toStdString();
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// All documents of the sample list in one job on A5 in a 20 point font, so that it takes two pages and long
// lines wrap.
TEST(StringsPrinter, PrintsTheSampleListToPdf) {
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    ASSERT_FALSE(pdftotext.isEmpty())
        << "pdftotext is missing: scripts/install-deps.sh installs poppler-utils";
    const std::vector<TSampleDocument> documents = SampleDocuments();
    ASSERT_GE(documents.size(), 7u);
    TStringList lines;
    for (const TSampleDocument& d : documents) {
        strings::ForEachLine(d.Text, [&](std::string_view line) { lines.Add(line); });
    }

    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("sample.pdf"));
    TStringsPrinter p;
    SetUpPdfPrinter(p, pdf, 20);
    p.Printer().setPageSize(QPageSize(QPageSize::A5));
    p.SetFileName(QString::fromUtf8(VELLORIA_SOURCE_DIR "/examples/sample.vlt"));
    p.SetHeader(TStringsPrinter::DocumentHeader(documents[0].Name));
    p.SetFooter("%p");
    TMetaFileList pages;
    ASSERT_TRUE(p.BuildPages(lines, pages, QString()));
    const int pageCount = pages.Count();
    ASSERT_GE(pageCount, 2);
    ASSERT_EQ(p.Print(lines), TPrintResult::Printed);
    const QString shots = qEnvironmentVariable("VELLORIA_PRINT_SHOTS");
    if (!shots.isEmpty()) QFile::copy(pdf, shots + QStringLiteral("/sample.pdf"));

    const QStringList text = RunTool(pdftotext, {pdf, QStringLiteral("-")}).split(QLatin1Char('\f'));
    ASSERT_EQ(text.size(), pageCount + 1);  // every page ends with a form feed
    const QString today = QDate::currentDate().toString(QStringLiteral("yyyy/M/d"));
    for (int i = 0; i < pageCount; ++i) {
        const QStringList pageLines = text[i].split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        ASSERT_GE(pageLines.size(), 3);
        // pdftotext takes the two spaces before the date for a column gap: the header comes as two lines.
        QString header = pageLines[0] + pageLines[1];
        header.remove(QLatin1Char(' '));
        EXPECT_TRUE(header.startsWith(QStringLiteral("sample.vlt-会議メモ") + today)) << header.toStdString();
        EXPECT_EQ(pageLines.last().trimmed(), QString::number(i + 1));
    }
    QString body = text.join(QString());
    body.remove(QRegularExpression(QStringLiteral("\\s")));
    for (int i = 0; i < lines.Count(); ++i) {
        QString line = SjisCodec::ToUnicode(lines.Get(i));
        line.remove(QRegularExpression(QStringLiteral("\\s")));
        EXPECT_TRUE(body.contains(line)) << line.toStdString();
    }
}

}  // namespace
