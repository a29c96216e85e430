#include "editor/widget/EditorTextPainter.h"

#include <QFontDatabase>
#include <QGlyphRun>
#include <QPainter>
#include <algorithm>

#include "text/ShiftJis.h"
#include "text/SjisCodec.h"

void TEditorTextPainter::SetFont(const QFont& font, int charWidth, int ascent) {
    FFont = font;
    FCharWidth = std::max(1, charWidth);
    FAscent = ascent;
    for (Face& face : FFaces) face = Face();
}

TEditorTextPainter::Face& TEditorTextPainter::FaceFor(unsigned style) {
    Face& face = FFaces[style & (kBold | kItalic)];
    if (!face.ready) {
        face.font = FFont;
        if (style & kBold) face.font.setBold(true);
        if (style & kItalic) face.font.setItalic(true);
        face.font.setUnderline(false);
        face.font.setStrikeOut(false);
        face.raw = QRawFont::fromFont(face.font, QFontDatabase::Japanese);
        face.ready = true;
    }
    return face;
}

void TEditorTextPainter::Draw(QPainter& p, int x0, int y, std::string_view text, int from, int to,
                              const QColor& color, unsigned style) {
    const int size = static_cast<int>(text.size());
    from = std::clamp(from, 0, size);
    to = std::clamp(to, from, size);
    if (from >= to) return;
    from = static_cast<int>(sjis::CharStart(text, static_cast<std::size_t>(from)));

    FChars.clear();
    FColumns.clear();
    for (int i = from; i < to;) {
        const auto c = static_cast<unsigned char>(text[static_cast<std::size_t>(i)]);
        const int len = static_cast<int>(sjis::CharLength(text, static_cast<std::size_t>(i)));
        unsigned code = c;
        if (len == 2) code = (code << 8) | static_cast<unsigned char>(text[static_cast<std::size_t>(i) + 1]);
        const char16_t ch = SjisCodec::Decode(code);
        // Spaces and control codes leave their cells empty; a code with no character shows as U+FFFD.
        if (ch == SjisCodec::kNoChar) {
            FChars.push_back(QChar(0xFFFD));
            FColumns.push_back(i);
        } else if (ch > 0x20 && ch != 0x7F && !(ch >= 0x80 && ch < 0xA0)) {
            FChars.push_back(QChar(ch));
            FColumns.push_back(i);
        }
        i += std::max(len, 1);
    }
    if (FChars.empty()) return;

    Face& face = FaceFor(style);
    const int n = static_cast<int>(FChars.size());
    FGlyphs.resize(n);
    int glyphCount = n;
    if (!face.raw.isValid() ||
        !face.raw.glyphIndexesForChars(FChars.data(), n, FGlyphs.data(), &glyphCount) || glyphCount != n) {
        FGlyphs.fill(0);
    }
    FPositions.resize(n);
    const qreal baseline = y + FAscent;
    int missing = 0;
    for (int k = 0; k < n; ++k) {
        FPositions[k] = QPointF(x0 + FColumns[static_cast<std::size_t>(k)] * FCharWidth, baseline);
        if (FGlyphs[k] == 0) ++missing;
    }

    p.setPen(color);
    if (missing < n) {
        QGlyphRun run;
        run.setRawFont(face.raw);
        if (missing == 0) {
            run.setGlyphIndexes(FGlyphs);
            run.setPositions(FPositions);
        } else {
            QList<quint32> glyphs;
            QList<QPointF> positions;
            glyphs.reserve(n - missing);
            positions.reserve(n - missing);
            for (int k = 0; k < n; ++k) {
                if (FGlyphs[k] == 0) continue;
                glyphs.push_back(FGlyphs[k]);
                positions.push_back(FPositions[k]);
            }
            run.setGlyphIndexes(glyphs);
            run.setPositions(positions);
        }
        run.setUnderline(style & kUnderline);
        run.setStrikeOut(style & kStrikeOut);
        p.drawGlyphRun(QPointF(0, 0), run);
    }
    if (missing > 0) {
        // Through QPainter::drawText, which falls back to other installed fonts.
        QFont fallback = face.font;
        fallback.setUnderline(style & kUnderline);
        fallback.setStrikeOut(style & kStrikeOut);
        p.setFont(fallback);
        for (int k = 0; k < n; ++k) {
            if (FGlyphs[k] == 0) p.drawText(FPositions[k], QString(FChars[static_cast<std::size_t>(k)]));
        }
    }
}
