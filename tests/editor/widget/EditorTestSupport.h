// Helpers of the widget tests: Shift-JIS literals, a shown editor with the main window's settings, and
// pictures of what it shows.
#pragma once

#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QTest>
#include <memory>
#include <string>

#include "editor/EditorScreenStrings.h"
#include "editor/widget/Editor.h"
#include "editor/widget/MainWindowSettings.h"
#include "text/SjisCodec.h"

// Shift-JIS bytes of a UTF-8 literal.
inline std::string Sjis(const char* utf8) {
    return SjisCodec::FromUnicode(QString::fromUtf8(utf8));
}

// Lets pending paint events run.
inline void Flush() {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

// An editor of the given viewport size with the main window's settings (the font "ＭＳ ゴシック"
// resolves to IPAGothic: 6 x 13 pixels per half-width cell). Shown on the offscreen platform.
inline std::unique_ptr<TEditor> MakeEditor(int width = 400, int height = 300, bool mainSettings = true) {
    auto editor = std::make_unique<TEditor>();
    if (mainSettings) ApplyMainWindowSettings(*editor);
    editor->SetBorderStyle(bsNone);
    editor->resize(width + 20, height + 20);
    editor->show();
    Flush();
    // The scroll bars take their room once laid out: size the viewport exactly.
    for (int i = 0; i < 4 && editor->viewport()->size() != QSize(width, height); ++i) {
        editor->resize(editor->size() + QSize(width, height) - editor->viewport()->size());
        Flush();
    }
    return editor;
}

// A text whose last line may lack a line break (SetText ends every line with one): the rows as ReplaceRows
// makes them, with an empty undo history.
inline void LoadText(TEditor& e, std::string_view text) {
    e.Clear();
    e.ScreenStrings().ReplaceRows(0, 0, text);
    e.Refresh();
}

// A fresh rendering of everything the viewport shows.
inline QImage Render(TEditor& e) {
    return e.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// What is on the screen now (the backing store), viewport part only: shows what incremental painting left.
inline QImage OnScreen(TEditor& e) {
    Flush();
    const QPoint origin = e.viewport()->mapTo(e.window(), QPoint(0, 0));
    const QImage all = QGuiApplication::primaryScreen()->grabWindow(e.window()->winId()).toImage();
    return all.copy(QRect(origin, e.viewport()->size())).convertToFormat(QImage::Format_RGB32);
}

// Number of pixels of a colour in a rectangle.
inline int CountColor(const QImage& image, const QRect& rect, const QColor& color) {
    int n = 0;
    const QRect r = rect & image.rect();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (image.pixelColor(x, y) == color) ++n;
    return n;
}
