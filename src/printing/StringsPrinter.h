// TStringsPrinter prints a list of Shift-JIS lines, or shows them in a print preview, laid out on paper in
// one to three columns with optional line numbers, a header and a footer.
//
// Pages are laid out once into one QPicture per page, in printer pixels of the printable area; printing
// replays the pictures on the QPrinter, the preview scales them onto the screen. Margins are millimetres
// from the paper edge. The text is converted to Unicode only when it is drawn.
//
// Use from a window (the document's lines, its list file and the editor's font):
//     printer.SetFileName(listFilePath);
//     printer.SetHeader(TStringsPrinter::DocumentHeader(record.Name));
//     printer.SetFooter("%p");
//     printer.SetFont(editor.font());  printer.SetFontColor(colour of the editor's text);
//     printer.PrintStrings(editor.Lines(), this);   // or PreviewStrings(editor.Lines(), this)
#pragma once

#include <QColor>
#include <QDateTime>
#include <QFont>
#include <QString>
#include <memory>
#include <string>
#include <string_view>

#include "printing/PageGeometry.h"

class QPainter;
class QPicture;
class QPrinter;
class QRectF;
class QWidget;
class TFormStrProgress;
class TMetaFileList;
class TStrings;

// A fixed underlying type: a value read from elsewhere may be out of range, and the setters clamp it.
enum TStringsPrinterHeaderAlign : int { haNone, haLeft, haCenter, haRight };

enum class TPrintResult {
    Printed,
    Cancelled,  // the print dialog or the layout was cancelled; nothing reached the printer
    Failed,     // the printer or the output file failed; LastError() tells why
};

class TStringsPrinter {
public:
    TStringsPrinter();
    ~TStringsPrinter();
    TStringsPrinter(const TStringsPrinter&) = delete;
    TStringsPrinter& operator=(const TStringsPrinter&) = delete;

    // ---- Properties (setters clamp silently) -------------------------------------------------------
    int ColumnCount() const { return FColumnCount; }
    void SetColumnCount(int value);  // 1..3
    int ColumnSpace() const { return FColumnSpace; }
    void SetColumnSpace(int value);  // mm, 0..100
    // The list file's path, printed by %F (its file name) and %f.
    const QString& FileName() const { return FFileName; }
    void SetFileName(const QString& value) { FFileName = value; }
    // Text, number, header and footer font; a pixel size counts as pixels of the screen.
    const QFont& Font() const { return FFont; }
    void SetFont(const QFont& value) { FFont = value; }
    const QColor& FontColor() const { return FFontColor; }
    void SetFontColor(const QColor& value) { FFontColor = value; }
    // Templates (Shift-JIS) with the codes of ExpandTemplate.
    const std::string& Header() const { return FHeader; }
    void SetHeader(std::string_view value) { FHeader = value; }
    const std::string& Footer() const { return FFooter; }
    void SetFooter(std::string_view value) { FFooter = value; }
    TStringsPrinterHeaderAlign HeaderAlign() const { return FHeaderAlign; }
    void SetHeaderAlign(TStringsPrinterHeaderAlign value);
    TStringsPrinterHeaderAlign FooterAlign() const { return FFooterAlign; }
    void SetFooterAlign(TStringsPrinterHeaderAlign value);
    bool LineNumber() const { return FLineNumber; }
    void SetLineNumber(bool value) { FLineNumber = value; }
    // mm from the paper edge, 0..100.
    int MarginTop() const { return FMarginTop; }
    void SetMarginTop(int value);
    int MarginBottom() const { return FMarginBottom; }
    void SetMarginBottom(int value);
    int MarginLeft() const { return FMarginLeft; }
    void SetMarginLeft(int value);
    int MarginRight() const { return FMarginRight; }
    void SetMarginRight(int value);

    // Copies every property above (not the printer's own settings).
    void Assign(const TStringsPrinter& source);

    // The settings of the main window's printer: header left, footer centred, margins 15 (top, bottom)
    // and 10 (left, right), "ＭＳ Ｐゴシック" 12 pixels.
    void SetDocumentDefaults();
    // The header template of a document: "%F - " + name + "  %y/%m/%d %t".
    static std::string DocumentHeader(std::string_view documentName);

    // ---- Printer and units --------------------------------------------------------------------------
    // The printer every job uses (high resolution), created on first use. Its page size, orientation,
    // output file and so on stay from one job to the next.
    QPrinter& Printer();
    // The unprintable border of the printer's current paper, in printer pixels: the paper's size from the
    // paper table (for a paper without a code, from the page size itself), turned for landscape, with the
    // printable area taken as centred on it.
    printing::TPaperOffsets GetPaperOffsets();
    static printing::TPaperOffsets PaperOffsetsOf(const QPrinter& printer);
    int MmToPrinterPixels(double mm);
    // Screen resolution / printer resolution.
    double ScreenToPrinterRatio();
    // The screen's horizontal logical resolution (96 without a screen).
    static double ScreenDpi();

    // ---- Header and footer --------------------------------------------------------------------------
    // The template with its codes replaced: %F, %f, %y (four digits), %m, %d (no leading zero), %t (the
    // locale's long time format without the time zone), %p (the page being built, 1 outside a job).
    QString ExpandTemplate(std::string_view text) const;
    QString ExpandTemplate(std::string_view text, const QDateTime& now) const;
    QString ExpandTemplate(std::string_view text, const QDateTime& now, int pageNumber) const;
    int PageNumber() const { return FPageNumber; }

    // ---- Jobs ---------------------------------------------------------------------------------------
    // Lays the lines out into pages (cleared first), showing the progress window with caption as its
    // title. False when the user cancelled (pages then empty) or a job is already running.
    bool BuildPages(const TStrings& lines, TMetaFileList& pages, const QString& caption,
                    QWidget* parent = nullptr);
    // The printer dialog (printer, paper, output file); false when cancelled.
    bool ExecPrintDialog(QWidget* parent = nullptr);
    // Lays the lines out and prints them on Printer() without a dialog. A PDF file is written to a
    // temporary file first and replaces the target only when complete.
    TPrintResult Print(const TStrings& lines, QWidget* parent = nullptr);
    const QString& LastError() const { return FLastError; }
    // The print command: the printer dialog, then Print; a failure is shown in a message box. True when
    // printed.
    bool PrintStrings(const TStrings& lines, QWidget* parent = nullptr);
    // Lays the lines out and shows them in the modal preview window. True after the window closed, false
    // when the layout was cancelled.
    bool PreviewStrings(const TStrings& lines, QWidget* parent = nullptr);

    // The progress window while pages are being built, else nullptr.
    TFormStrProgress* ProgressWindow() const { return FProgress; }

    // Draws a page picture stretched into target (the painter's device coordinates).
    static void DrawPage(QPainter& painter, const QPicture& page, const QRectF& target);

    // The font the pages are recorded with: Font at its size on paper, in printer pixels.
    QFont PrinterFont();

private:
    bool SendPages(QPrinter& printer, const TMetaFileList& pages);

    int FColumnCount = 1;
    int FColumnSpace = 4;
    QString FFileName;
    QFont FFont;
    QColor FFontColor = Qt::black;
    std::string FHeader;
    std::string FFooter;
    TStringsPrinterHeaderAlign FHeaderAlign = haNone;
    TStringsPrinterHeaderAlign FFooterAlign = haNone;
    bool FLineNumber = false;
    int FMarginTop = 0;
    int FMarginBottom = 0;
    int FMarginLeft = 0;
    int FMarginRight = 0;

    int FPageNumber = 1;
    bool FBuilding = false;
    TFormStrProgress* FProgress = nullptr;
    QString FLastError;
    std::unique_ptr<QPrinter> FPrinter;
};
