// TEditor: the paint pass, rows in token colours and in selection colours, the marks, invalidation.
//
// A row band is CharHeight pixels of text plus the underline pixel row (when Marks.Underline is visible);
// the Margin.Line gap below it is filled with the control's colour. Inside a band every character stands
// on the column grid. Coloured tokens are collected first, then all backgrounds are filled and all text
// is drawn, one glyph run per run of equal colours.
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

#include "editor/options/EditorColor.h"
#include "editor/scan/EditorParser.h"
#include "editor/rows/EditorScreenStrings.h"
#include "editor/widget/Editor.h"

namespace {

struct Triple {
    TColor bk;
    TColor fg;
    TFontStyles style;
    bool operator==(const Triple&) const = default;
};

struct Run {
    int from;
    int to;
    Triple triple;
};

}  // namespace

unsigned TEditor::StyleBits(const TFontStyles& style) const {
    unsigned bits = 0;
    if (style & fsBold) bits |= TEditorTextPainter::kBold;
    if (style & fsItalic) bits |= TEditorTextPainter::kItalic;
    if (style & fsUnderline) bits |= TEditorTextPainter::kUnderline;
    if (style & fsStrikeOut) bits |= TEditorTextPainter::kStrikeOut;
    return bits;
}

// ---- Paint pass
// ---------------------------------------------------------------------------------------------

void TEditor::paintEvent(QPaintEvent* event) {
    QPainter p(viewport());
    const QRegion& region = event->region();
    if (FRecording) FRecordedPaints.push_back(region);
    // Separate strips (a selection change, a scroll) are painted one by one; many small pieces at once.
    // Each piece is clipped to itself: a later piece must not paint over an earlier one's details.
    if (region.rectCount() <= 8) {
        for (const QRect& r : region) {
            p.setClipRect(r);
            PaintRect(p, r);
        }
        p.setClipping(false);
    } else {
        PaintRect(p, region.boundingRect());
    }
    if (FCaretShown && FCaretBlinkOn && region.intersects(FCaretDrawnRect)) {
        const bool selected = PointInSelection(Row(), Col());
        p.fillRect(FCaretDrawnRect, Resolve(selected ? FView->Colors().Select().Color() : FFontColor));
    }
    // The input method's text while composing lies over the row at the caret.
    if (!FPreedit.isEmpty() && region.intersects(PreeditRect())) DrawPreedit(p);
}

bool TEditor::viewportEvent(QEvent* event) {
    return QAbstractScrollArea::viewportEvent(event);
}

void TEditor::PaintRect(QPainter& p, const QRect& rect) {
    const int T = TextTop();
    const int L = TextLeft();
    const int W = viewport()->width();
    const int H = viewport()->height();
    const QColor color = Resolve(FColor);
    const int barWidth = FLeftbar->Visible() ? FLeftbarWidth : 0;
    const int rulerHeight = FRuler->Visible() ? FRulerHeight : 0;

    // Areas: corner, ruler, the margin gaps, left bar, text.
    if (rect.intersects(QRect(0, 0, L, T))) {
        if (FImages.Corner().isNull()) {
            p.fillRect(QRect(0, 0, L, T) & rect, color);
        } else {
            p.drawImage(QPoint(0, 0), FImages.Corner());
        }
    }
    if (rulerHeight > 0 && rect.intersects(QRect(L, 0, W - L, rulerHeight))) DrawRuler(p, rect);
    const QRect topGap(L, rulerHeight, W - L, T - rulerHeight);
    if (rect.intersects(topGap)) p.fillRect(topGap & rect, color);
    const QRect leftGap(barWidth, T, L - barWidth, H - T);
    if (rect.intersects(leftGap)) p.fillRect(leftGap & rect, color);

    const bool underline =
        FMarks->Underline().Visible() && FUnderlineHideCount == 0 && UnderlineY(Row()) != -1;

    // Snap to the grid: whole row bands, the left edge on a column boundary.
    int top = std::max(T, rect.top());
    top -= (top - T) % FRowHeight;
    int bottom = rect.bottom() + 1;
    if (bottom <= top) return;
    if ((bottom - T) % FRowHeight > 0) bottom += FRowHeight - (bottom - T) % FRowHeight;
    const int firstRow = (top - T) / FRowHeight + FTopRow;
    const int lastRow = firstRow + (bottom - top) / FRowHeight - 1;

    if (barWidth > 0 && rect.intersects(QRect(0, T, barWidth, H - T))) {
        CaretHider caret(*this);
        DrawLeftbar(p, firstRow, lastRow);
    }
    if (rect.right() < L) return;

    const int left = std::max(L, L + FCharWidth * ((rect.left() - L) / FCharWidth));
    const int right = rect.right() + 1;
    const int band = FCharHeight + FMargin->UnderlineSpace();
    const int x = L - FHOffset;
    const int count = LineCount();
    std::unique_ptr<TEditorParser> parser = FRows->ParserFactory()(ScanOptions(), kBracketNone);
    // Text is clipped to the text area: a character cut by the left edge must not spill into the margin.
    p.save();
    p.setClipRect(QRect(L, T, W - L, H - T), Qt::IntersectClip);
    int y = top;
    for (int row = firstRow; row <= lastRow; ++row, y += FRowHeight) {
        const QRect bandRect(left, y, right - left, band);
        if (row < count) {
            const std::string s = ExpandedRowText(row);
            if (SelAvail()) {
                DrawRowWithSelection(p, bandRect, x, *parser, row, s, y);
            } else {
                DrawRow(p, bandRect, x, *parser, row, s, y);
            }
        } else {
            p.fillRect(bandRect, color);
            if (FMarks->EofMark().Visible() && row == count &&
                (count == 0 || RowEnd(count - 1) != reEndOfText))
                DrawEofMark(p, bandRect, x, y);
        }
        if (FRowHeight > band) p.fillRect(QRect(left, y + band, right - left, FRowHeight - band), color);
    }
    p.restore();

    if (underline) {
        const int uy = UnderlineY(Row());
        p.fillRect(QRect(L, uy, W - L, 1) & QRect(left, top, right - left, bottom - top),
                   Resolve(FMarks->Underline().Color()));
    }
}

// ---- Rows
// -------------------------------------------------------------------------------------------------------

// What the two row painters share around their token loops: the row's text with a wrapped row's
// continuation (so that a token crossing the wrap is seen whole) and the columns that reach into the clip.
struct TEditor::TRowPaint {
    std::string line;
    QRect clip;
    int ownLen = 0;   // columns of the row itself
    int colFrom = 0;  // first and one past the last visible column of the row
    int colTo = 0;
};

bool TEditor::BeginRowPaint(const QRect& rect, int x, int row, const std::string& s, TRowPaint& out) {
    out.ownLen = static_cast<int>(s.size());
    if ((out.ownLen + 1) * FCharWidth < FHOffset) return false;  // the row ends left of the view
    out.line = s;
    out.clip = rect;
    if (s.empty()) return true;
    if (FRows->RowBracket(row) == kBracketNotScanned) FRows->ScanFrom(row, false);
    if (WordWrap() && row < LineCount() - 1 && RowEnd(row) == reWrapped) {
        out.line += ExpandedRowText(row + 1);
        out.clip.setRight(std::min(out.clip.right(), x + out.ownLen * FCharWidth - 1));
    }
    out.colFrom = std::max(0, (out.clip.left() - x) / FCharWidth);
    out.colTo = std::min(out.ownLen, (out.clip.right() + 1 - x + FCharWidth - 1) / FCharWidth);
    return true;
}

void TEditor::EndRowPaint(QPainter& p, const QRect& rect, int x, int y, int row, const TRowPaint& piece,
                          bool selected, const QColor& retColor) {
    DoDrawLine(piece.line, x, y, row, rect, selected);
    const int mx = x + piece.ownLen * FCharWidth;
    if (mx >= rect.right() + 1) return;
    if (FMarks->EofMark().Visible() && row == LineCount() - 1 && RowEnd(row) == reEndOfText) {
        DrawEofMark(p, rect, mx, y);
    } else if (FMarks->RetMark().Visible() && RowEnd(row) == reLineBreak) {
        DrawRetMark(p, mx, y, retColor);
    }
}

void TEditor::DrawRow(QPainter& p, const QRect& rect, int x, TEditorParser& parser, int row,
                      const std::string& s, int y) {
    const Triple def{FColor, FFontColor, FontStyles()};
    p.fillRect(rect, Resolve(def.bk));
    TRowPaint piece;
    if (!BeginRowPaint(rect, x, row, s, piece)) return;
    if (!s.empty()) {
        const std::string& line = piece.line;
        const QRect& clip = piece.clip;
        const int ownLen = piece.ownLen;
        const int colFrom = piece.colFrom;
        const int colTo = piece.colTo;
        const int L = TextLeft();
        const int W = viewport()->width();
        // Tokens whose colours differ from the control's; the gaps between them use the default triple.
        std::vector<Run> runs;
        parser.ResetScan(line.c_str(), ScanOptions(), FRows->RowEntryKind(row), FRows->RowBracket(row));
        for (int kind = parser.Kind(); kind != tokNone; kind = parser.NextToken()) {
            const int off = parser.TokenOffset();
            if (off >= ownLen || off >= colTo) break;
            const int end = std::min(off + parser.TokenLength(), ownLen);
            if (x + end * FCharWidth < L || end <= colFrom) continue;
            if (x + off * FCharWidth > W) break;
            const TEditorColor* c = parser.TokenColor();
            const Triple t = c ? Triple{c->BkColor(), c->Color(), c->Style()} : def;
            if (t == def) continue;
            if (!runs.empty() && runs.back().to == off && runs.back().triple == t) {
                runs.back().to = end;
            } else {
                runs.push_back({off, end, t});
            }
        }
        // Backgrounds first, then the text, so that no glyph is cut by its neighbour's background.
        for (const Run& r : runs) {
            if (r.triple.bk == def.bk) continue;
            const QRect cell(x + r.from * FCharWidth, rect.top(), (r.to - r.from) * FCharWidth,
                             rect.height());
            p.fillRect(cell & clip, Resolve(r.triple.bk));
        }
        int at = colFrom;
        const QColor fg = Resolve(def.fg);
        const unsigned defStyle = StyleBits(def.style);
        for (const Run& r : runs) {
            if (r.from > at) FText.Draw(p, x, y, line, at, std::min(r.from, colTo), fg, defStyle);
            FText.Draw(p, x, y, line, std::max(r.from, colFrom), std::min(r.to, colTo), Resolve(r.triple.fg),
                       StyleBits(r.triple.style));
            at = std::max(at, r.to);
        }
        if (at < colTo) FText.Draw(p, x, y, line, at, colTo, fg, defStyle);
    }
    EndRowPaint(p, rect, x, y, row, piece, false, Resolve(FMarks->RetMark().Color()));
}

void TEditor::DrawSelectedRow(QPainter& p, const QRect& rect, int x, TEditorParser& parser, int row,
                              const std::string& s, int y) {
    const TEditorColor& select = FView->Colors().Select();
    p.fillRect(rect, Resolve(select.BkColor()));
    TRowPaint piece;
    if (!BeginRowPaint(rect, x, row, s, piece)) return;
    const QColor fg = Resolve(select.Color());
    if (!s.empty()) {
        const std::string& line = piece.line;
        const int colFrom = piece.colFrom;
        const int colTo = piece.colTo;
        // Colours do not change inside the selection; only the token styles may.
        const TFontStyles defStyle = FontStyles();
        int at = colFrom;
        parser.ResetScan(line.c_str(), ScanOptions(), FRows->RowEntryKind(row), FRows->RowBracket(row));
        for (int kind = parser.Kind(); kind != tokNone; kind = parser.NextToken()) {
            const int off = parser.TokenOffset();
            if (off >= piece.ownLen || off >= colTo) break;
            const int end = std::min(off + parser.TokenLength(), piece.ownLen);
            if (end <= colFrom) continue;
            const TEditorColor* c = parser.TokenColor();
            const TFontStyles style = c ? c->Style() : defStyle;
            if (style == defStyle) continue;
            if (off > at) FText.Draw(p, x, y, line, at, off, fg, StyleBits(defStyle));
            FText.Draw(p, x, y, line, std::max(off, colFrom), std::min(end, colTo), fg, StyleBits(style));
            at = std::max(at, end);
        }
        if (at < colTo) FText.Draw(p, x, y, line, at, colTo, fg, StyleBits(defStyle));
    }
    EndRowPaint(p, rect, x, y, row, piece, true, fg);
}

void TEditor::DrawRowWithSelection(QPainter& p, const QRect& rect, int x, TEditorParser& parser, int row,
                                   const std::string& s, int y) {
    const TSelectionColumns& sel = SelectionColumns();
    if (row < sel.top || row > sel.bottom) {
        DrawRow(p, rect, x, parser, row, s, y);
        return;
    }
    const int L = TextLeft();
    const int W = viewport()->width();
    const auto cx = [&](int c) { return std::max(L, L + (c - FTopCol) * FCharWidth); };
    int a = L;  // selected from a to b
    int b = W;
    if (BoxSelectMode()) {
        a = cx(BoxEdgeColumn(row, sel.left));
        b = cx(BoxEdgeColumn(row, sel.right));
    } else {
        if (row == sel.top) a = cx(sel.left);
        if (row == sel.bottom) b = cx(sel.right);
    }
    const QRect pieces[3] = {QRect(QPoint(L, rect.top()), QPoint(a - 1, rect.bottom())),
                             QRect(QPoint(a, rect.top()), QPoint(b - 1, rect.bottom())),
                             QRect(QPoint(std::max(a, b), rect.top()), QPoint(W - 1, rect.bottom()))};
    for (int i = 0; i < 3; ++i) {
        const QRect piece = pieces[i] & rect;
        if (piece.isEmpty()) continue;
        p.save();
        p.setClipRect(piece, Qt::IntersectClip);
        if (i == 1) {
            DrawSelectedRow(p, piece, x, parser, row, s, y);
        } else {
            DrawRow(p, piece, x, parser, row, s, y);
        }
        p.restore();
    }
}

// ---- Marks
// --------------------------------------------------------------------------------------------------------

void TEditor::DrawEofMark(QPainter& p, const QRect& clip, int x, int y) {
    const int L = TextLeft();
    const int T = TextTop();
    const QRect mark(QPoint(std::max(L, x), std::max(T, y)),
                     QPoint(std::min(x + 6 * FCharWidth, viewport()->width()) - 1,
                            std::min(y + FCharHeight, viewport()->height()) - 1));
    const QRect target = mark & clip;
    if (target.isEmpty()) return;
    CaretHider caret(*this);
    p.save();
    p.setClipRect(target, Qt::IntersectClip);
    p.fillRect(target, Resolve(FColor));
    static const std::string kEof = "[EOF]";
    FText.Draw(p, x, y, kEof, 0, static_cast<int>(kEof.size()), Resolve(FMarks->EofMark().Color()),
               StyleBits(FontStyles()));
    p.restore();
}

void TEditor::DrawRetMark(QPainter& p, int x, int y, const QColor& color) {
    if (x < TextLeft()) return;
    const int cx = x + FCharWidth / 2;
    const int h = FCharHeight;
    // A downward arrow: the shaft, its tip and two 3-pixel arms.
    p.fillRect(cx, y + 6, 1, std::max(0, h - 10), color);
    for (int k = 0; k < 3; ++k) {
        p.fillRect(cx + k, y + h - 4 - k, 1, 1, color);
        p.fillRect(cx - k, y + h - 4 - k, 1, 1, color);
    }
}

int TEditor::UnderlineY(int row) const {
    const int y = RowY(row) + FCharHeight;
    if (y <= TextTop() || y > viewport()->height()) return -1;
    return y;
}

void TEditor::HideUnderline() {
    if (++FUnderlineHideCount != 1) return;
    if (!FMarks->Underline().Visible() || SelAvail()) return;
    const int y = UnderlineY(Row());
    if (y != -1) InvalidateRect(QRect(TextLeft(), y, viewport()->width() - TextLeft(), 1));
}

void TEditor::ShowUnderline() {
    if (FUnderlineHideCount <= 0) {
        FUnderlineHideCount = 0;
        return;
    }
    if (--FUnderlineHideCount != 0) return;
    if (!FMarks->Underline().Visible() || SelAvail()) return;
    const int y = UnderlineY(Row());
    if (y != -1) InvalidateRect(QRect(TextLeft(), y, viewport()->width() - TextLeft(), 1));
}

// ---- Invalidation
// -------------------------------------------------------------------------------------------------

void TEditor::InvalidateRow(int row) {
    if (row < FTopRow || row > FTopRow + FVisibleRows) return;
    const int left = TextLeft();
    InvalidateRect(QRect(left, RowY(row), viewport()->width() - left, FCharHeight));
}

void TEditor::InvalidateRows(int firstRow, int lastRow) {
    int a = std::min(firstRow, lastRow);
    int b = std::max(firstRow, lastRow);
    if (b < FTopRow || a > FTopRow + FVisibleRows) return;
    a = std::clamp(a, FTopRow, FTopRow + FVisibleRows);
    b = std::clamp(b, FTopRow, FTopRow + FVisibleRows);
    InvalidateRect(QRect(0, RowY(a), viewport()->width(), RowY(b) + FRowHeight - RowY(a)));
}

void TEditor::InvalidateTextArea() {
    const int top = TextTop();
    InvalidateRect(QRect(0, top, viewport()->width(), viewport()->height() - top));
}
