#include "printing/PageLayouter.h"

#include <algorithm>

#include "base/Strings.h"

TPageLayouter::TPageLayouter(const printing::TPageGeometry& geometry, TTextWrapper& wrapper,
                             TPageCanvas& canvas, TLayoutProgress* progress)
    : FGeometry(geometry), FWrapper(wrapper), FCanvas(canvas), FProgress(progress) {}

void TPageLayouter::NextColumn() {
    FTop = FGeometry.Header.Bottom;
    if (FColumn + 1 < FGeometry.ColumnCount) {
        ++FColumn;
        return;
    }
    FCanvas.EndPage(FPage);
    if (FProgress) FProgress->PageFinished(FPage);
    ++FPage;
    FColumn = 0;
    FCanvas.BeginPage(FPage);
}

bool TPageLayouter::Run(const TStrings& lines) {
    const int lineHeight = FGeometry.LineHeight;
    const int columnTop = FGeometry.Header.Bottom;
    const int columnBottom = FGeometry.Footer.Top;
    FPage = 1;
    FColumn = 0;
    FTop = columnTop;
    FCanvas.BeginPage(FPage);

    const int count = lines.Count();
    for (int i = 0; i < count; ++i) {
        if (FProgress && !FProgress->Step(count - 1, i)) return false;
        const std::string line = lines.Get(i);
        FSpans.clear();
        FWrapper.Wrap(line, FSpans);

        std::size_t first = 0;
        bool numbered = false;
        while (first < FSpans.size()) {
            std::size_t take = FSpans.size() - first;
            if (FTop + static_cast<long long>(take) * lineHeight > columnBottom) {
                if (FTop != columnTop) {
                    NextColumn();
                    continue;
                }
                // Taller than the whole column: fill it, at least one paper line, and carry on.
                take = static_cast<std::size_t>(std::max(1, (columnBottom - FTop) / lineHeight));
            }
            if (FGeometry.NumberWidth > 0 && !numbered) {
                FCanvas.DrawLineNumber(FGeometry.NumberColumn(FColumn), FTop, static_cast<long>(i) + 1);
                numbered = true;
            }
            const int left = FGeometry.TextColumn(FColumn).Left;
            for (std::size_t k = first; k < first + take; ++k) {
                FWrapper.ForEachRun(line, FSpans[k], [&](std::size_t begin, std::size_t end, double x) {
                    FCanvas.DrawRun(std::string_view(line).substr(begin, end - begin), left + x, FTop);
                });
                FTop += lineHeight;
            }
            first += take;
            if (first < FSpans.size()) NextColumn();
        }
    }
    FCanvas.EndPage(FPage);
    return true;
}
