// TEditor: the left bar with line numbers and the ruler with its caret mark.
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <algorithm>
#include <string>

#include "editor/rows/EditorScreenStrings.h"
#include "editor/widget/Editor.h"

// ---- Sizes
// ----------------------------------------------------------------------------------------------------

int TEditor::ScreenWidth() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int w = screen ? screen->geometry().width() : 0;
    return std::max({w, viewport()->width(), 640});
}

int TEditor::ScreenHeight() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int h = screen ? screen->geometry().height() : 0;
    return std::max({h, viewport()->height(), 480});
}

void TEditor::UpdateRulerHeight() {
    FRulerHeight = FRuler->Visible() ? (FRuler->Edge() ? 11 : 10) : 0;
}

void TEditor::UpdateLeftbarWidth() {
    FLeftbarWidth = FLeftbar->LeftMargin() + FLeftbarDigits * FCharWidth + FLeftbar->RightMargin() + 2;
}

// ---- Line numbers
// -------------------------------------------------------------------------------------------

int TEditor::LineIndexOfRow(int row) const {
    // The number of rows before `row` that end with a line break (its logical line's index), which the
    // row list keeps counted.
    return FRows->LineOfRow(std::clamp(row, 0, LineCount()));
}

bool TEditor::UpdateDigitCount() {
    if (!FLeftbar->Visible() || !FLeftbar->ShowNumber()) {
        FLeftbarDigits = FLeftbar->Column();
        return false;
    }
    const int count = LineCount();
    int n = count - 1;
    // The last row's line index: the line breaks before it, counted by the row list itself (a walk over
    // all rows on every edit would make typing in a large wrapped text slow).
    if (FLeftbar->ShowNumberMode() == nmLine && n >= 0)
        n = WordWrap() ? FRows->LineBreakRows() - (RowEnd(n) == reLineBreak ? 1 : 0) : n;
    const bool openLast = count > 0 && RowEnd(count - 1) != reEndOfText;
    const int largest = std::max(0, n + (openLast ? 1 : 0) + (FLeftbar->ZeroBase() ? 0 : 1));
    const int digits =
        std::min(8, std::max(FLeftbar->Column(), static_cast<int>(std::to_string(largest).size())));
    const bool changed = digits != FLeftbarDigits;
    FLeftbarDigits = digits;
    return changed;
}

std::string TEditor::LeftbarNumberText(int value) const {
    std::string number = std::to_string(value);
    const int pad = FLeftbarDigits - static_cast<int>(number.size());
    if (pad > 0) number.insert(0, static_cast<std::size_t>(pad), FLeftbar->ZeroLead() ? '0' : ' ');
    return number;
}

std::vector<std::string> TEditor::LeftbarTexts(int firstRow, int lastRow) const {
    std::vector<std::string> texts;
    if (lastRow < firstRow) return texts;
    texts.reserve(static_cast<std::size_t>(lastRow - firstRow + 1));
    if (!FLeftbar->ShowNumber()) {
        texts.resize(static_cast<std::size_t>(lastRow - firstRow + 1));
        return texts;
    }
    const int count = LineCount();
    const int base = FLeftbar->ZeroBase() ? 0 : 1;
    // A row starts a logical line when the row before it ends with a line break; row 0 always does (so an
    // empty text shows line 1).
    const auto startsLine = [&](int r) { return r == 0 || RowEnd(r - 1) == reLineBreak; };
    const bool byLine = FLeftbar->ShowNumberMode() == nmLine;
    int counter = 0;
    if (byLine) {
        counter = LineIndexOfRow(std::min(std::max(firstRow, 0), count));
        if (!startsLine(firstRow)) ++counter;
    }
    for (int r = firstRow; r <= lastRow; ++r) {
        int value = -1;
        if (!byLine) {
            if (r == 0 || (r >= 0 && r < count) || (r == count && RowEnd(count - 1) != reEndOfText))
                value = r + base;
        } else if (r >= 0 && r <= count && startsLine(r)) {
            value = counter + base;
            ++counter;
        }
        texts.push_back(value < 0 ? std::string() : LeftbarNumberText(value));
    }
    return texts;
}

void TEditor::DrawLeftbar(QPainter& p, int firstRow, int lastRow) {
    const int width = FLeftbarWidth;
    p.drawImage(QPoint(width - 2, TextTop()), FImages.LeftEdge());
    const QColor bk = Resolve(FLeftbar->BkColor());
    const QColor fg = Resolve(FLeftbar->Color());
    const int numbersWidth = width - 2;
    if (!FLeftbar->ShowNumber()) {
        p.fillRect(QRect(0, RowY(firstRow), numbersWidth, RowY(lastRow + 1) - RowY(firstRow)), bk);
        return;
    }
    const unsigned style = StyleBits(FontStyles());
    const std::vector<std::string> texts = LeftbarTexts(firstRow, lastRow);
    for (int r = firstRow; r <= lastRow; ++r) {
        const int y = RowY(r);
        const QRect band(0, y, numbersWidth, FRowHeight);
        p.fillRect(band, bk);
        const std::string& text = texts[static_cast<std::size_t>(r - firstRow)];
        if (text.empty()) continue;
        p.save();
        p.setClipRect(band, Qt::IntersectClip);
        FText.Draw(p, FLeftbar->LeftMargin(), y, text, 0, static_cast<int>(text.size()), fg, style);
        p.restore();
    }
}

void TEditor::InvalidateLeftbarRows(int firstRow, int lastRow) {
    if (!FLeftbar->Visible()) return;
    int a = std::min(firstRow, lastRow);
    int b = std::max(firstRow, lastRow);
    if (b < FTopRow || a > FTopRow + FVisibleRows) return;
    a = std::clamp(a, FTopRow, FTopRow + FVisibleRows);
    b = std::clamp(b, FTopRow, FTopRow + FVisibleRows);
    InvalidateRect(QRect(0, RowY(a), FLeftbarWidth, RowY(b) + FCharHeight - RowY(a)));
}

// ---- Images
// ----------------------------------------------------------------------------------------------------

void TEditor::BuildLeftEdge() {
    FImages.BuildLeftEdge(ScreenHeight(), FLeftbar->Edge(), Resolve(FLeftbar->BkColor()),
                          Resolve(FLeftbar->Color()));
}

void TEditor::BuildCorner() {
    TEditorGutterImages::TCornerLayout c;
    c.textLeft = TextLeft();
    c.textTop = TextTop();
    c.color = Resolve(FColor);
    c.leftbarVisible = FLeftbar->Visible();
    c.leftbarEdge = FLeftbar->Edge();
    c.leftbarWidth = FLeftbarWidth;
    c.leftbarBackground = Resolve(FLeftbar->BkColor());
    c.rulerVisible = FRuler->Visible();
    c.rulerEdge = FRuler->Edge();
    c.rulerHeight = FRulerHeight;
    c.rulerBackground = Resolve(FRuler->BkColor());
    FImages.BuildCorner(c);
}

void TEditor::RebuildRuler() {
    UpdateRulerHeight();
    TEditorGutterImages::TRulerLayout s;
    s.charWidth = FCharWidth;
    s.gaugeRange = FRuler->GaugeRange();
    s.height = FRulerHeight > 0 ? FRulerHeight : (FRuler->Edge() ? 11 : 10);
    s.edge = FRuler->Edge();
    s.background = Resolve(FRuler->BkColor());
    s.color = Resolve(FRuler->Color());
    s.markColor = Resolve(FRuler->MarkColor());
    if (FImages.RulerEdge().width() < ScreenWidth()) FImages.BuildRulerEdge(ScreenWidth());
    FImages.RebuildRuler(s, ScreenWidth());
}

// ---- Ruler
// ------------------------------------------------------------------------------------------------------

void TEditor::DrawRuler(QPainter& p, const QRect& clip) {
    const int L = TextLeft();
    const int W = viewport()->width();
    FImages.ComposeRuler(FTopCol);
    const int srcX = FCharWidth * (FTopCol % FRuler->GaugeRange());
    const QRect target(L, 0, W - L, FRulerHeight);
    p.drawImage(target, FImages.RulerImage(), QRect(srcX, 0, target.width(), FRulerHeight));
    if (Col() >= FTopCol && Col() <= FTopCol + FVisibleCols) {
        const QRect mark = FImages.MarkTargetRect(Col(), FTopCol, L);
        if (mark.intersects(clip))
            p.drawImage(mark, FImages.MarkImage(), FImages.MarkSourceRect(Col(), FTopCol));
    }
}

void TEditor::DrawRulerMark(int col) {
    if (!FRuler->Visible() || col < FTopCol || col > FTopCol + FVisibleCols) return;
    InvalidateRect(FImages.MarkTargetRect(col, FTopCol, TextLeft()));
}

void TEditor::EraseRulerMark(int col) {
    DrawRulerMark(col);
}
