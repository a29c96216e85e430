// TEditor: font metrics, the text-area origin, coordinates, scrolling, the scroll bars and the wheel.
#include <QFontMetrics>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <optional>

#include "editor/rows/EditorScreenStrings.h"
#include "editor/widget/Editor.h"

// ---- Metrics ----------------------------------------------------------------------------------------------

void TEditor::UpdateFontMetrics() {
    const QFontMetrics fm(font());
    FCharHeight = fm.height() + std::max(0, fm.leading());
    FAscent = fm.ascent();
    FCharWidth = std::max(1, fm.averageCharWidth() + FMargin->Character());
    FRowHeight = std::max(1, FCharHeight + FMargin->Line() + FMargin->UnderlineSpace());
    FText.SetFont(font(), FCharWidth, FAscent);
    UpdateItalicFlag();
    // The gutters first: the text area's origin depends on them.
    const int oldLeft = TextLeft();
    const int oldTop = TextTop();
    UpdateRulerHeight();
    if (FLeftbar->Visible()) {
        UpdateDigitCount();
        UpdateLeftbarWidth();
    }
    // The corner image fills exactly the area above the bar and left of the ruler; whoever moved the text
    // area's origin (a new text with more lines, a font, a margin) leaves it to be rebuilt here.
    if (TextLeft() != oldLeft || TextTop() != oldTop) BuildCorner();
    // Whole rows that fit below the text area's top (the viewport already excludes frame and bars).
    FVisibleRows = std::max(1, (viewport()->height() - TextTop()) / FRowHeight);
    UpdateVisibleColumns();
}

void TEditor::UpdateVisibleColumns() {
    FVisibleCols = std::max(1, (viewport()->width() - TextLeft() - FCharWidth / 2) / FCharWidth);
}

void TEditor::UpdateItalicFlag() {
    bool italic = font().italic();
    const TEditorColors& colors = FView->Colors();
    for (int i = 0; i < TEditorColors::ciCount && !italic; ++i)
        italic = colors.Item(static_cast<TEditorColors::Index>(i)).Style() & fsItalic;
    const TEditorBracketCollection& brackets = FView->Brackets();
    for (int i = 0; i < brackets.Count() && !italic; ++i)
        italic = brackets.Items(i).ItemColor().Style() & fsItalic;
    FItalic = italic;
}

int TEditor::TextLeft() const {
    return FMargin->Left() + (FLeftbar->Visible() ? FLeftbarWidth : 0);
}

int TEditor::TextTop() const {
    return FMargin->Top() + (FRuler->Visible() ? FRulerHeight : 0);
}

// ---- Scroll bars
// ------------------------------------------------------------------------------------------------

void TEditor::UpdateScrollBars() {
    FMaxTopRow = std::max(0, LineCount() + FVisibleRows - 2);
    FTopRow = std::min(FTopRow, FMaxTopRow);
    FTopCol = std::clamp(FTopCol, 0, std::max(0, kMaxCols - FVisibleCols / 2));
    FHOffset = FTopCol * FCharWidth;
    FVertInfo = {0, std::max(FVisibleRows, FMaxTopRow), FVisibleRows, FTopRow};
    FHorzInfo = {0, FVisibleCols / 2 + kMaxCols, FVisibleCols, FTopCol};
    SyncScrollBars();
}

void TEditor::SyncScrollBars() {
    // TScrollInfo keeps the range as (maximum, page), the page counted inside the range; a Qt bar's maximum
    // is the last position the bar's value can take, maximum - page + 1.
    ++FSyncingBars;
    const auto apply = [](QScrollBar* bar, const TScrollInfo& info) {
        bar->setRange(info.min, std::max(info.min, info.max - info.page + 1));
        bar->setPageStep(std::max(1, info.page));
        bar->setSingleStep(1);
        bar->setValue(info.pos);
    };
    FVertInfo.pos = FTopRow;
    FHorzInfo.pos = FTopCol;
    apply(verticalScrollBar(), FVertInfo);
    apply(horizontalScrollBar(), FHorzInfo);
    --FSyncingBars;
}

namespace {

int RequestOfAction(int action, bool& known) {
    known = true;
    switch (action) {
        case QAbstractSlider::SliderSingleStepSub:
            return sbLineUp;
        case QAbstractSlider::SliderSingleStepAdd:
            return sbLineDown;
        case QAbstractSlider::SliderPageStepSub:
            return sbPageUp;
        case QAbstractSlider::SliderPageStepAdd:
            return sbPageDown;
        case QAbstractSlider::SliderToMinimum:
            return sbTop;
        case QAbstractSlider::SliderToMaximum:
            return sbBottom;
        case QAbstractSlider::SliderMove:
            return sbThumbTrack;
        default:
            known = false;
            return 0;
    }
}

}  // namespace

void TEditor::OnVerticalAction(int action) {
    if (FSyncingBars) return;
    bool known = false;
    const int request = RequestOfAction(action, known);
    QScrollBar* bar = verticalScrollBar();
    if (known) VScroll(static_cast<TScrollRequest>(request), bar->sliderPosition());
    // The bar shows where the text is, not where Qt's own step would have put it.
    bar->setSliderPosition(FTopRow);
}

void TEditor::OnHorizontalAction(int action) {
    if (FSyncingBars) return;
    bool known = false;
    const int request = RequestOfAction(action, known);
    QScrollBar* bar = horizontalScrollBar();
    if (known) HScroll(static_cast<TScrollRequest>(request), bar->sliderPosition());
    bar->setSliderPosition(FTopCol);
}

void TEditor::scrollContentsBy(int, int) {
    // Scrolling is driven by VScroll/HScroll, which move the pixels themselves.
}

namespace {

// How far a scroll-bar request moves the first visible row or column, before clamping: `page` is the
// visible count, `top` the current first one, `toEnd` the distance to the last position.
std::optional<int> ScrollDelta(TScrollRequest request, int page, int top, int toEnd, int trackPos) {
    switch (request) {
        case sbLineUp:
            return -1;
        case sbLineDown:
            return 1;
        case sbPageUp:
            return std::min(-1, -page);
        case sbPageDown:
            return std::max(1, page);
        case sbTop:
            return -top;
        case sbBottom:
            return toEnd;
        case sbThumbPosition:
        case sbThumbTrack:
            return trackPos - top;
        default:
            return std::nullopt;
    }
}

}  // namespace

void TEditor::VScroll(TScrollRequest request, int trackPos) {
    const std::optional<int> delta =
        ScrollDelta(request, FVisibleRows, FTopRow, FMaxTopRow - FTopRow, trackPos);
    if (!delta) return;
    const int d = std::clamp(*delta, -FTopRow, FMaxTopRow - FTopRow);
    if (d == 0) return;
    SetTopRow(FTopRow + d);
    if (FCaret->LockScroll()) SetRow(Row() + d);
}

void TEditor::HScroll(TScrollRequest request, int trackPos) {
    const int right = FVisibleCols / 2 + kMaxCols - FTopCol;
    const std::optional<int> delta = ScrollDelta(request, FVisibleCols, FTopCol, right, trackPos);
    if (!delta) return;
    const int d = std::clamp(*delta, -FTopCol, right);
    if (d == 0) return;
    SetTopCol(FTopCol + d);
}

void TEditor::WheelScroll(int delta) {
    int d = delta > 0 ? -3 : 3;
    d = std::clamp(d, -FTopRow, FMaxTopRow - FTopRow);
    if (d == 0) return;
    SetTopRow(FTopRow + d);
    if (FCaret->LockScroll()) SetRow(Row() + d);
}

void TEditor::wheelEvent(QWheelEvent* event) {
    if (GestureInProgress()) {
        // A press or a drag holds the input.
        event->accept();
        return;
    }
    // Only the vertical wheel scrolls; a tilt (horizontal delta alone) is left to the platform.
    const int delta = event->angleDelta().y();
    if (delta == 0) {
        event->ignore();
        return;
    }
    WheelScroll(delta);
    event->accept();
}

// ---- Coordinates
// ------------------------------------------------------------------------------------------------

TRowCol TEditor::PointToRowCol(int x, int y, bool snap) const {
    const int left = TextLeft();
    int col = 0;
    if (snap) {
        const int num = x + FCharWidth / 2 - 1 - left;
        col = num / FCharWidth + FTopCol;  // the nearer cell edge (the division truncates toward zero)
    } else {
        col = (x - left) / FCharWidth + FTopCol;
    }
    col = std::max(0, col);
    const int row = (y - TextTop()) / FRowHeight + FTopRow;
    return {row, col};
}

// ---- Scrolling
// ----------------------------------------------------------------------------------------------------

void TEditor::ScrollCaretIntoView() {
    if (!hasFocus()) return;
    const int row = Row();
    if (row < FTopRow) {
        SetTopRow(row);
    } else if (row > FTopRow + FVisibleRows - 1) {
        SetTopRow(row - FVisibleRows + 1);
    }
    const int col = Col();
    if (col < FTopCol) {
        SetTopCol(std::max(0, std::min(col, FTopCol - FVisibleCols / 4)));
    } else if (col > FTopCol + FVisibleCols - 1) {
        SetTopCol(std::min(std::max(col - FVisibleCols + 1, FTopCol + FVisibleCols / 4),
                           kMaxCols - FVisibleCols / 2));
    }
}

void TEditor::SetTopRow(int row) {
    CaretHider caret(*this);
    UnderlineHider underline(*this);
    const int old = FTopRow;
    FTopRow = std::clamp(row, 0, LineCount());
    const int limit = FVisibleRows + 1;
    const int d = std::clamp(old - FTopRow, -limit, limit);
    if (d == 0) return;
    const int top = TextTop();
    ScrollStrip(0, d * FRowHeight, QRect(0, top, viewport()->width(), viewport()->height() - top));
    SyncScrollBars();
    if (FKeyRepeating) {
        FImePending = true;
    } else {
        UpdateImeWindow();
    }
    DoTopRowChange();
}

void TEditor::SetTopCol(int col) {
    if (FRuler->Visible()) EraseRulerMark(Col());
    CaretHider caret(*this);
    const int old = FTopCol;
    FTopCol = std::clamp(col, 0, std::max(0, kMaxCols - FVisibleCols / 2));
    const int distance = (old - FTopCol) * FCharWidth;
    if (distance == 0) return;
    const int left = TextLeft();
    ScrollStrip(distance, 0, QRect(left, 0, viewport()->width() - left, viewport()->height()));
    FHOffset -= distance;
    SyncScrollBars();
    if (FKeyRepeating) {
        FImePending = true;
    } else {
        UpdateImeWindow();
    }
    DoTopColChange();
}

void TEditor::ScrollRows(int row, int count) {
    row = std::clamp(row, FTopRow, FTopRow + FVisibleRows);
    const int limit = FVisibleRows + 1;
    count = std::clamp(count, -limit, limit);
    if (count == 0) return;
    CaretHider caret(*this);
    UnderlineHider underline(*this);
    const int y = RowY(row);
    const int left = TextLeft();
    ScrollStrip(0, count * FRowHeight, QRect(left, y, viewport()->width() - left, viewport()->height() - y));
}

void TEditor::ScrollRowsFrom(int row, int delta) {
    ScrollRows(row, delta);
}

void TEditor::ScrollStrip(int dx, int dy, const QRect& rect) {
    const QRect strip = rect.intersected(viewport()->rect());
    if (strip.isEmpty()) return;
    UnderlineHider underline(*this);
    if (!viewport()->isVisible() || std::abs(dx) >= strip.width() || std::abs(dy) >= strip.height()) {
        // Everything moves out: nothing to keep.
        InvalidateRect(strip);
        return;
    }
    // Qt moves the pixels and the pending repaint areas, and repaints the uncovered part.
    viewport()->scroll(dx, dy, strip);
    if (FRecording) {
        QRegion uncovered(strip);
        uncovered -= strip.translated(dx, dy).intersected(strip);
        for (const QRect& r : uncovered) FRecorded.push_back(r);
    }
}

void TEditor::ShiftTextForLeftbar(int oldWidth, int newWidth) {
    const int dx = newWidth - oldWidth;
    if (dx == 0) return;
    CaretHider caret(*this);
    const int from = std::min(oldWidth, newWidth);
    ScrollStrip(dx, 0, QRect(from, 0, viewport()->width() - from, viewport()->height()));
    InvalidateRect(QRect(0, 0, TextLeft(), viewport()->height()));
}
