#include "printing/StringsPrinter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLocale>
#include <QMessageBox>
#include <QPageLayout>
#include <QPainter>
#include <QPicture>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QTemporaryFile>
#include <algorithm>
#include <filesystem>

#include "base/SafeFileWriter.h"
#include "base/Strings.h"
#include "printing/FormStrPreview.h"
#include "printing/FormStrProgress.h"
#include "printing/HeaderTemplate.h"
#include "printing/MetaFileList.h"
#include "printing/PageLayouter.h"
#include "printing/StringsPrinterInfo.h"
#include "printing/TextWrapper.h"
#include "text/SjisCodec.h"

namespace {

using printing::RoundHalfEven;

void Clamp(int& field, int value, int low, int high) {
    value = std::clamp(value, low, high);
    if (field != value) field = value;
}

TStringsPrinterHeaderAlign ClampAlign(TStringsPrinterHeaderAlign value) {
    return (value >= haNone && value <= haRight) ? value : haNone;
}

// The locale's long time format; Qt's includes the time zone, which a page header does without.
QString LongTimeText(const QTime& time) {
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    QString cleaned;
    bool quoted = false;
    for (QChar c : format) {
        if (c == u'\'') quoted = !quoted;
        if (!quoted && c == u't') continue;
        cleaned += c;
    }
    return QLocale::system().toString(time, cleaned.trimmed());
}

// Character widths from the printer font, in printer pixels.
class TFontWidths : public TCharWidths {
public:
    explicit TFontWidths(const QFont& font) : FMetrics(font) {}
    double Measure(unsigned code) override {
        char16_t u = SjisCodec::Decode(code);
        if (u == SjisCodec::kNoChar) u = 0xFFFD;
        return FMetrics.horizontalAdvance(QChar(u));
    }

private:
    QFontMetricsF FMetrics;
};

// Records each page into a picture of the page list.
class TPictureCanvas : public TPageCanvas {
public:
    TPictureCanvas(const TStringsPrinter& printer, int& pageNumber, TMetaFileList& pages,
                   const printing::TPageGeometry& g, const QFont& font, QSize pageSize)
        : FPrinter(printer),
          FPageNumber(pageNumber),
          FPages(pages),
          FGeometry(g),
          FFont(font),
          FMetrics(font),
          FPageSize(pageSize),
          FAscent(QFontMetrics(font).ascent()) {}

    void BeginPage(int pageNumber) override {
        FPageNumber = pageNumber;
        QPicture& picture = FPages.Add();
        FPainter.begin(&picture);
        FPainter.setFont(FFont);
        FPainter.setPen(FPrinter.FontColor());
        DrawBand(FGeometry.Header, FPrinter.HeaderAlign(), FPrinter.Header(), pageNumber);
    }

    void EndPage(int pageNumber) override {
        DrawBand(FGeometry.Footer, FPrinter.FooterAlign(), FPrinter.Footer(), pageNumber);
        FPainter.end();
        FPages[FPages.Count() - 1].setBoundingRect(QRect(QPoint(0, 0), FPageSize));
    }

    void DrawLineNumber(const printing::TRect& column, int top, long number) override {
        const QString text = QString::number(number) + QLatin1Char(':');
        FPainter.drawText(QPointF(column.Right - FMetrics.horizontalAdvance(text), top + FAscent), text);
    }

    void DrawRun(std::string_view text, double x, int top) override {
        FPainter.drawText(QPointF(x, top + FAscent), SjisCodec::ToUnicode(text));
    }

private:
    void DrawBand(const printing::TRect& band, TStringsPrinterHeaderAlign align, const std::string& text,
                  int pageNumber) {
        if (align == haNone || text.empty()) return;
        // The date and time are read for every band, as the clock goes on during a long job.
        const QString line = FPrinter.ExpandTemplate(text, QDateTime::currentDateTime(), pageNumber);
        const double width = FMetrics.horizontalAdvance(line);
        double x = band.Left;
        if (align == haCenter) x = band.Left + (band.Width() - width) / 2;
        if (align == haRight) x = band.Right - width;
        FPainter.drawText(QPointF(x, band.Top + FAscent), line);
    }

    const TStringsPrinter& FPrinter;
    int& FPageNumber;
    TMetaFileList& FPages;
    const printing::TPageGeometry& FGeometry;
    QFont FFont;
    QFontMetricsF FMetrics;
    QSize FPageSize;
    int FAscent;
    QPainter FPainter;
};

// Updates the progress window once per line and lets events run between pages, and every 50 ms inside a
// page (a page can hold one very long line), so that Cancel is noticed without slowing the layout down.
class TWindowProgress : public TLayoutProgress {
public:
    explicit TWindowProgress(TFormStrProgress& window) : FWindow(window) { FClock.start(); }

    bool Step(int lastIndex, int index) override {
        FWindow.UpdateProgress(lastIndex, index);
        if (FClock.elapsed() >= 50) Process();
        return !FWindow.Cancelled();
    }
    void PageFinished(int) override { Process(); }

private:
    void Process() {
        FWindow.ProcessEvents();
        FClock.restart();
    }

    TFormStrProgress& FWindow;
    QElapsedTimer FClock;
};

// Restores the printer's output file name when a job wrote to a temporary file instead.
class TOutputRedirect {
public:
    TOutputRedirect(QPrinter& printer, const QString& temporary)
        : FPrinter(printer), FTarget(printer.outputFileName()) {
        FPrinter.setOutputFileName(temporary);
    }
    ~TOutputRedirect() { FPrinter.setOutputFileName(FTarget); }
    TOutputRedirect(const TOutputRedirect&) = delete;
    TOutputRedirect& operator=(const TOutputRedirect&) = delete;

private:
    QPrinter& FPrinter;
    QString FTarget;
};

std::filesystem::path ToPath(const QString& name) {
    return std::filesystem::path(name.toStdU16String());
}

// Copies the finished temporary file over the target, crash-safe.
bool CommitFile(const QString& temporary, const QString& target, QString& error) {
    QFile in(temporary);
    if (!in.open(QIODevice::ReadOnly)) {
        error = in.errorString();
        return false;
    }
    TSafeFileWriter writer(ToPath(target));
    if (!writer.Open()) {
        error = QString::fromStdString(writer.Error());
        return false;
    }
    QByteArray chunk;
    while (!(chunk = in.read(1 << 20)).isEmpty()) {
        if (!writer.Write(std::string_view(chunk.constData(), static_cast<std::size_t>(chunk.size())))) {
            error = QString::fromStdString(writer.Error());
            return false;
        }
    }
    if (in.error() != QFileDevice::NoError) {
        error = in.errorString();
        return false;
    }
    if (!writer.Commit()) {
        error = QString::fromStdString(writer.Error());
        return false;
    }
    return true;
}

}  // namespace

TStringsPrinter::TStringsPrinter() = default;
TStringsPrinter::~TStringsPrinter() = default;

void TStringsPrinter::SetColumnCount(int value) {
    Clamp(FColumnCount, value, 1, 3);
}
void TStringsPrinter::SetColumnSpace(int value) {
    Clamp(FColumnSpace, value, 0, 100);
}
void TStringsPrinter::SetHeaderAlign(TStringsPrinterHeaderAlign value) {
    FHeaderAlign = ClampAlign(value);
}
void TStringsPrinter::SetFooterAlign(TStringsPrinterHeaderAlign value) {
    FFooterAlign = ClampAlign(value);
}
void TStringsPrinter::SetMarginTop(int value) {
    Clamp(FMarginTop, value, 0, 100);
}
void TStringsPrinter::SetMarginBottom(int value) {
    Clamp(FMarginBottom, value, 0, 100);
}
void TStringsPrinter::SetMarginLeft(int value) {
    Clamp(FMarginLeft, value, 0, 100);
}
void TStringsPrinter::SetMarginRight(int value) {
    Clamp(FMarginRight, value, 0, 100);
}

void TStringsPrinter::Assign(const TStringsPrinter& source) {
    if (&source == this) return;
    FColumnCount = source.FColumnCount;
    FColumnSpace = source.FColumnSpace;
    FFileName = source.FFileName;
    FFont = source.FFont;
    FFontColor = source.FFontColor;
    FHeader = source.FHeader;
    FFooter = source.FFooter;
    FHeaderAlign = source.FHeaderAlign;
    FFooterAlign = source.FFooterAlign;
    FLineNumber = source.FLineNumber;
    FMarginTop = source.FMarginTop;
    FMarginBottom = source.FMarginBottom;
    FMarginLeft = source.FMarginLeft;
    FMarginRight = source.FMarginRight;
}

void TStringsPrinter::SetDocumentDefaults() {
    SetColumnCount(1);
    SetColumnSpace(4);
    SetHeaderAlign(haLeft);
    SetFooterAlign(haCenter);
    SetLineNumber(false);
    SetMarginTop(15);
    SetMarginBottom(15);
    SetMarginLeft(10);
    SetMarginRight(10);
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(12);
    SetFont(font);
}

std::string TStringsPrinter::DocumentHeader(std::string_view documentName) {
    std::string header = "%F - ";
    header += documentName;
    header += "  %y/%m/%d %t";
    return header;
}

QPrinter& TStringsPrinter::Printer() {
    if (!FPrinter) FPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *FPrinter;
}

printing::TPaperOffsets TStringsPrinter::GetPaperOffsets() {
    return PaperOffsetsOf(Printer());
}

printing::TPaperOffsets TStringsPrinter::PaperOffsetsOf(const QPrinter& printer) {
    const QPageLayout layout = printer.pageLayout();
    double width = 0;
    double height = 0;
    if (const TPaperInfo* paper = TStringsPrinterInfo::Find(layout.pageSize().windowsId())) {
        width = paper->Width;
        height = paper->Height;
    } else {
        // A paper without a code still has a size; with 0 x 0 the margins would count from the edge of
        // the printable area instead of the paper's.
        const QSizeF size = layout.pageSize().size(QPageSize::Millimeter);
        width = size.width();
        height = size.height();
    }
    if (layout.orientation() == QPageLayout::Landscape) std::swap(width, height);
    const int dpi = printer.logicalDpiX();
    return printing::CentredPaperOffsets(printing::MmToPixels(dpi, width), printing::MmToPixels(dpi, height),
                                         printer.width(), printer.height());
}

int TStringsPrinter::MmToPrinterPixels(double mm) {
    return printing::MmToPixels(Printer().logicalDpiX(), mm);
}

double TStringsPrinter::ScreenDpi() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) return screen->logicalDotsPerInchX();
    return 96.0;
}

double TStringsPrinter::ScreenToPrinterRatio() {
    return ScreenDpi() / Printer().logicalDpiX();
}

QFont TStringsPrinter::PrinterFont() {
    QFont font = FFont;
    const int dpi = Printer().logicalDpiX();
    const double size =
        FFont.pixelSize() > 0 ? FFont.pixelSize() / ScreenToPrinterRatio() : FFont.pointSizeF() * dpi / 72.0;
    font.setPixelSize(std::max(1, RoundHalfEven(size)));
    // The layout adds up the widths of single characters; kerning would move the drawn glyphs off them.
    font.setKerning(false);
    return font;
}

QString TStringsPrinter::ExpandTemplate(std::string_view text) const {
    return ExpandTemplate(text, QDateTime::currentDateTime(), FPageNumber);
}

QString TStringsPrinter::ExpandTemplate(std::string_view text, const QDateTime& now) const {
    return ExpandTemplate(text, now, FPageNumber);
}

QString TStringsPrinter::ExpandTemplate(std::string_view text, const QDateTime& now, int pageNumber) const {
    QString out;
    printing::ParseTemplate(
        text, [&out](std::string_view literal) { out += SjisCodec::ToUnicode(literal); },
        [&](char code) {
            switch (code) {
                case 'F':
                    out += QFileInfo(FFileName).fileName();
                    break;
                case 'f':
                    out += FFileName;
                    break;
                case 'y':
                    out += QStringLiteral("%1").arg(now.date().year(), 4, 10, QLatin1Char('0'));
                    break;
                case 'm':
                    out += QString::number(now.date().month());
                    break;
                case 'd':
                    out += QString::number(now.date().day());
                    break;
                case 't':
                    out += LongTimeText(now.time());
                    break;
                case 'p':
                    out += QString::number(pageNumber);
                    break;
                default:
                    break;
            }
        });
    return out;
}

bool TStringsPrinter::BuildPages(const TStrings& lines, TMetaFileList& pages, const QString& caption,
                                 QWidget* parent) {
    if (FBuilding) return false;
    FBuilding = true;
    pages.Clear();
    QPrinter& printer = Printer();

    printing::TLayoutSettings settings;
    settings.Dpi = printer.logicalDpiX();
    settings.PageWidth = printer.width();
    settings.PageHeight = printer.height();
    settings.Offsets = GetPaperOffsets();
    settings.MarginLeft = FMarginLeft;
    settings.MarginTop = FMarginTop;
    settings.MarginRight = FMarginRight;
    settings.MarginBottom = FMarginBottom;
    settings.ColumnSpace = FColumnSpace;
    settings.ColumnCount = FColumnCount;
    settings.LineNumber = FLineNumber;
    settings.HeaderVisible = FHeaderAlign != haNone && !FHeader.empty();
    settings.FooterVisible = FFooterAlign != haNone && !FFooter.empty();

    const QFont font = PrinterFont();
    const QFontMetrics metrics(font);
    const printing::TPageGeometry geometry =
        printing::ComputePageGeometry(settings, metrics.height() + std::max(0, metrics.leading()),
                                      metrics.averageCharWidth(), lines.Count());

    TFontWidths widths(font);
    // Tabs stop every eight average characters.
    TTextWrapper wrapper(widths, geometry.TextWidth, 8.0 * geometry.CharWidth);

    bool completed = false;
    {
        TFormStrProgress window(parent);
        FProgress = &window;
        struct TReset {
            TStringsPrinter& P;
            ~TReset() {
                P.FProgress = nullptr;
                P.FBuilding = false;
                P.FPageNumber = 1;
            }
        } reset{*this};
        window.Open(caption);
        TWindowProgress progress(window);
        TPictureCanvas canvas(*this, FPageNumber, pages, geometry, font,
                              QSize(settings.PageWidth, settings.PageHeight));
        TPageLayouter layouter(geometry, wrapper, canvas, &progress);
        completed = layouter.Run(lines);
    }
    if (!completed) pages.Clear();
    return completed;
}

void TStringsPrinter::DrawPage(QPainter& painter, const QPicture& page, const QRectF& target) {
    const QRect bounds = page.boundingRect();
    if (bounds.width() <= 0 || bounds.height() <= 0) return;
    // A picture replays scaled by the device's resolution over its own; undo that, then stretch.
    const QPaintDevice* device = painter.device();
    const double dpiX = static_cast<double>(page.logicalDpiX()) / device->logicalDpiX();
    const double dpiY = static_cast<double>(page.logicalDpiY()) / device->logicalDpiY();
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / bounds.width() * dpiX, target.height() / bounds.height() * dpiY);
    painter.drawPicture(0, 0, page);
    painter.restore();
}

bool TStringsPrinter::SendPages(QPrinter& printer, const TMetaFileList& pages) {
    QPainter painter;
    if (!painter.begin(&printer)) {
        FLastError = QStringLiteral("印刷を開始できませんでした。");
        return false;
    }
    const QRectF pageRect(0, 0, printer.width(), printer.height());
    bool ok = true;
    for (int i = 0; i < pages.Count() && ok; ++i) {
        if (i > 0 && !printer.newPage()) {
            FLastError = QStringLiteral("新しいページを開始できませんでした。");
            ok = false;
            break;
        }
        DrawPage(painter, pages[i], pageRect);
    }
    if (!painter.end() && ok) {
        FLastError = QStringLiteral("印刷を終了できませんでした。");
        ok = false;
    }
    if (ok && printer.printerState() == QPrinter::Error) {
        FLastError = QStringLiteral("プリンターでエラーが起きました。");
        ok = false;
    }
    return ok;
}

TPrintResult TStringsPrinter::Print(const TStrings& lines, QWidget* parent) {
    FLastError.clear();
    TMetaFileList pages;
    if (!BuildPages(lines, pages, QStringLiteral("印刷中"), parent)) return TPrintResult::Cancelled;

    QPrinter& printer = Printer();
    const QString target = printer.outputFileName();
    if (printer.outputFormat() != QPrinter::PdfFormat || target.isEmpty()) {
        return SendPages(printer, pages) ? TPrintResult::Printed : TPrintResult::Failed;
    }

    // A PDF file: written beside in a temporary file, so that a failed job leaves the old file alone.
    QTemporaryFile temporary(QDir::tempPath() + QStringLiteral("/velloria-print-XXXXXX.pdf"));
    if (!temporary.open()) {
        FLastError = target + QLatin1Char('\n') + temporary.errorString();
        return TPrintResult::Failed;
    }
    temporary.close();
    bool sent = false;
    {
        TOutputRedirect redirect(printer, temporary.fileName());
        sent = SendPages(printer, pages);
    }
    QString error;
    if (!sent) {
        FLastError = target + QLatin1Char('\n') + FLastError;
        return TPrintResult::Failed;
    }
    if (!CommitFile(temporary.fileName(), target, error)) {
        FLastError = target + QLatin1Char('\n') + error;
        return TPrintResult::Failed;
    }
    return TPrintResult::Printed;
}

bool TStringsPrinter::ExecPrintDialog(QWidget* parent) {
    QPrintDialog dialog(&Printer(), parent);
    return dialog.exec() == QDialog::Accepted;
}

bool TStringsPrinter::PrintStrings(const TStrings& lines, QWidget* parent) {
    if (!ExecPrintDialog(parent)) return false;
    const TPrintResult result = Print(lines, parent);
    if (result == TPrintResult::Failed) {
        QMessageBox::warning(parent, QStringLiteral("印刷"),
                             QStringLiteral("印刷できませんでした。\n") + FLastError);
    }
    return result == TPrintResult::Printed;
}

bool TStringsPrinter::PreviewStrings(const TStrings& lines, QWidget* parent) {
    TMetaFileList pages;
    if (!BuildPages(lines, pages, QStringLiteral("プレビューを作成中"), parent)) return false;
    TFormStrPreview::ShowPreview(*this, pages, parent);
    return true;
}
