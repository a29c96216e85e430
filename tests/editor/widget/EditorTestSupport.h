// Helpers of the widget tests: Shift-JIS literals, a shown editor with the main window's settings, and
// pictures of what it shows.
#pragma once

#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QTest>
#include <iostream>
#include <memory>
#include <string>

#include "editor/rows/EditorScreenStrings.h"
#include "editor/widget/Editor.h"
#include "app/gui/MainWindowSettings.h"
#include "support/Sjis.h"
#include "support/TempDir.h"

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
    // Without the focus there is no blinking caret in the pictures; tests that need it take the focus.
    editor->clearFocus();
    Flush();
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
    // On a real display the pixels reach the server asynchronously.
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) QTest::qWait(100);
    const QPoint origin = e.viewport()->mapTo(e.window(), QPoint(0, 0));
    const QImage all = QGuiApplication::primaryScreen()->grabWindow(e.window()->winId()).toImage();
    return all.copy(QRect(origin, e.viewport()->size())).convertToFormat(QImage::Format_RGB32);
}

// Number of pixels in a rectangle for which pred(color) holds (text is antialiased: compare by shade).
template <class Pred>
int CountIf(const QImage& image, const QRect& rect, Pred pred) {
    int n = 0;
    const QRect r = rect & image.rect();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (pred(image.pixelColor(x, y))) ++n;
    return n;
}
inline bool Reddish(const QColor& c) {
    return c.red() > 150 && c.green() < 110 && c.blue() < 110;
}
inline bool Dark(const QColor& c) {
    return c.red() + c.green() + c.blue() < 300;
}
inline bool Light(const QColor& c) {
    return c.red() + c.green() + c.blue() > 500;
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

// The bounding box of the pixels in which two pictures differ (empty when equal). On a difference both
// pictures are saved for a look (name-screen.png, name-render.png) in a folder of this test run, which
// stays and is named on stderr.
inline QRect DifferingArea(const QImage& screen, const QImage& render, const char* name) {
    if (screen.size() != render.size()) return QRect(QPoint(0, 0), render.size());
    QRect box;
    for (int y = 0; y < render.height(); ++y)
        for (int x = 0; x < render.width(); ++x)
            if (screen.pixel(x, y) != render.pixel(x, y)) box |= QRect(x, y, 1, 1);
    if (!box.isEmpty()) {
        static TTempDir pictures("vel_editor_pictures_");
        pictures.Keep();
        const std::string base = (pictures / name).string();
        screen.save(QString::fromStdString(base + "-screen.png"));
        render.save(QString::fromStdString(base + "-render.png"));
        std::cerr << "pictures of " << name << " in " << pictures.Path().string() << "\n";
    }
    return box;
}
#define EXPECT_SCREEN_UP_TO_DATE(e, name) EXPECT_EQ(DifferingArea(OnScreen(e), Render(e), name), QRect())
