// Lays a list of lines out on pages: columns, line numbers and word wrap, page after page, telling a canvas
// what to draw where. Plain C++; the strings printer's canvas records the drawing into one picture per page,
// tests use a canvas that records the calls.
//
// Each line is wrapped once at the column width. A line that does not fit below the text already in the
// column goes to the next column, after the last column to a new page. A line taller than a whole column
// fills the column it starts at the top of and continues in the next one, so no paper line is lost below
// the footer.
#pragma once

#include <string_view>
#include <vector>

#include "printing/PageGeometry.h"
#include "printing/TextWrapper.h"

class TStrings;

class TPageCanvas {
public:
    virtual ~TPageCanvas() = default;
    // Starts page pageNumber (1-based) and draws its header.
    virtual void BeginPage(int pageNumber) = 0;
    // Draws the footer of the page and finishes it.
    virtual void EndPage(int pageNumber) = 0;
    // "number:" right-aligned in the number column, on the paper line starting at top.
    virtual void DrawLineNumber(const printing::TRect& numberColumn, int top, long number) = 0;
    // A tab-free run of text bytes whose left edge is at x, on the paper line starting at top.
    virtual void DrawRun(std::string_view text, double x, int top) = 0;
};

class TLayoutProgress {
public:
    virtual ~TLayoutProgress() = default;
    // Called before line index of lastIndex + 1 lines is laid out; false stops the layout.
    virtual bool Step(int lastIndex, int index) = 0;
    // Called after each finished page but the last.
    virtual void PageFinished(int pageNumber) {}
};

class TPageLayouter {
public:
    TPageLayouter(const printing::TPageGeometry& geometry, TTextWrapper& wrapper, TPageCanvas& canvas,
                  TLayoutProgress* progress = nullptr);

    // Lays out every line. False when the progress stopped it; the page then left open is not finished.
    bool Run(const TStrings& lines);

    // The page being built (1-based); after Run the number of pages.
    int PageNumber() const { return FPage; }

private:
    void NextColumn();

    const printing::TPageGeometry& FGeometry;
    TTextWrapper& FWrapper;
    TPageCanvas& FCanvas;
    TLayoutProgress* FProgress;
    int FPage = 1;
    int FColumn = 0;
    int FTop = 0;
    std::vector<TTextWrapper::TSpan> FSpans;
};
