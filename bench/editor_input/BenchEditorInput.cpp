// Keyboard and input-method edits on a 1,000,000-line Japanese text, each from a synthetic QKeyEvent or
// QInputMethodEvent to the repainted viewport: typing a character, an input-method commit of 10
// characters, Enter and Backspace in the middle of the text, Shift+PgDn extending a selection. TEditor
// (main-window settings: left bar, ruler) against a QPlainTextEdit with the same text, font and viewport,
// in the same run; prints the medians and their ratios. Runs offscreen; VELLORIA_BENCH_SMALL=1 makes a
// small text and few repetitions.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "app/gui/MainWindowSettings.h"
#include "editor/widget/Editor.h"
#include "gui/FontSubstitutes.h"
#include "text/SjisCodec.h"

namespace {

constexpr int kRows = 40;
constexpr int kCols = 120;

bool Small() {
    return std::getenv("VELLORIA_BENCH_SMALL") != nullptr;
}

int LineCount() {
    return Small() ? 5000 : 1000000;
}

// Lines of 20 to 60 columns of Japanese with some ASCII.
const std::string& Text() {
    static const std::string text = [] {
        static const char* const kPieces[] = {"日本語の文章", "ひらがな", "カタカナ", "漢字交じり", "abc",
                                              "、",           "。",       "123",      "半角ｶﾅ",     " "};
        std::string pieces[10];
        for (int i = 0; i < 10; ++i) pieces[i] = SjisCodec::FromUnicode(QString::fromUtf8(kPieces[i]));
        std::string out;
        unsigned seed = 7;
        for (int i = 0; i < LineCount(); ++i) {
            const int length = 20 + static_cast<int>(seed % 41);
            std::string line;
            while (static_cast<int>(line.size()) < length) {
                seed = seed * 1103515245u + 12345u;
                line += pieces[(seed >> 16) % 10];
            }
            out += line + "\r\n";
        }
        return out;
    }();
    return text;
}

QFont EditorFont() {
    QFont font(QStringLiteral("ＭＳ ゴシック"));
    font.setPixelSize(12);
    return font;
}

void SendKey(QWidget* target, int key, Qt::KeyboardModifiers mods = Qt::NoModifier,
             const QString& text = QString()) {
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(target, &release);
}

void SendCommit(QWidget* target, const QString& commit) {
    QInputMethodEvent event;
    event.setCommitString(commit);
    QApplication::sendEvent(target, &event);
}

const QString kCommit = QStringLiteral("漢字変換の結果です。");  // 10 characters

// Both controls behind one interface: put the caret at (line, column), the widget that gets the events.
struct Subject {
    virtual ~Subject() = default;
    virtual void PlaceCaret(int line, int column) = 0;
    virtual QWidget* Target() = 0;
    virtual QWidget* Viewport() = 0;
};

struct EditorSubject : Subject {
    TEditor editor;
    EditorSubject() {
        ApplyMainWindowSettings(editor);
        editor.SetBorderStyle(bsNone);
        editor.SetScrollBars(ssBoth);
        editor.SetText(Text());
        editor.show();
        const int width = editor.TextLeft() + kCols * editor.CharWidth() + editor.CharWidth() / 2;
        const int height = editor.TextTop() + kRows * editor.RowHeight();
        editor.resize(width + 20, height + 20);
        editor.activateWindow();
        editor.setFocus();
        QApplication::processEvents();
    }
    void PlaceCaret(int line, int column) override {
        editor.CancelSelection();
        editor.SetRow(line);
        editor.SetCol(column);
        QApplication::processEvents();
    }
    QWidget* Target() override { return &editor; }
    QWidget* Viewport() override { return editor.viewport(); }
};

struct PeerSubject : Subject {
    QPlainTextEdit edit;
    PeerSubject() {
        edit.setFont(EditorFont());
        edit.setLineWrapMode(QPlainTextEdit::NoWrap);
        edit.setFrameShape(QFrame::NoFrame);
        edit.setPlainText(SjisCodec::ToUnicode(Text()));
        edit.show();
        const QFontMetrics fm(edit.font());
        edit.resize(kCols * fm.averageCharWidth() + 20, kRows * fm.lineSpacing() + 20);
        edit.activateWindow();
        edit.setFocus();
        QApplication::processEvents();
    }
    void PlaceCaret(int line, int column) override {
        QTextCursor cursor(edit.document()->findBlockByNumber(line));
        cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, column);
        edit.setTextCursor(cursor);
        edit.centerCursor();
        QApplication::processEvents();
    }
    QWidget* Target() override { return &edit; }
    QWidget* Viewport() override { return edit.viewport(); }
};

std::unique_ptr<EditorSubject> gEditor;
std::unique_ptr<PeerSubject> gPeer;

Subject& Get(bool peer) {
    if (peer) {
        if (!gPeer) gPeer = std::make_unique<PeerSubject>();
        gPeer->edit.setFocus();
        return *gPeer;
    }
    if (!gEditor) gEditor = std::make_unique<EditorSubject>();
    gEditor->editor.setFocus();
    return *gEditor;
}

// One edit per iteration on a fresh line of the middle of the text (placing the caret is not timed), up
// to the repainted viewport.
void RunEdit(benchmark::State& state, bool peer, const std::function<void(QWidget*)>& edit, int column) {
    Subject& s = Get(peer);
    const int middle = LineCount() / 2;
    int i = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // The editor counts columns (a two-byte character is 2), the peer characters: column 8 of the
        // editor is about character 4 of the peer.
        s.PlaceCaret(middle + (i++ % 1000), peer ? column / 2 : column);
        state.ResumeTiming();
        edit(s.Target());
        s.Viewport()->repaint();
    }
}

void Type(QWidget* w) {
    SendKey(w, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
}
void Commit(QWidget* w) {
    SendCommit(w, kCommit);
}
void Enter(QWidget* w) {
    SendKey(w, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
}
void Backspace(QWidget* w) {
    SendKey(w, Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"));
}

void BM_TEditorType(benchmark::State& state) { RunEdit(state, false, Type, 8); }
void BM_QPlainTextEditType(benchmark::State& state) { RunEdit(state, true, Type, 8); }
void BM_TEditorImeCommit(benchmark::State& state) { RunEdit(state, false, Commit, 8); }
void BM_QPlainTextEditImeCommit(benchmark::State& state) { RunEdit(state, true, Commit, 8); }
void BM_TEditorEnter(benchmark::State& state) { RunEdit(state, false, Enter, 8); }
void BM_QPlainTextEditEnter(benchmark::State& state) { RunEdit(state, true, Enter, 8); }
void BM_TEditorBackspace(benchmark::State& state) { RunEdit(state, false, Backspace, 8); }
void BM_QPlainTextEditBackspace(benchmark::State& state) { RunEdit(state, true, Backspace, 8); }

// Shift+PgDn from the middle of the text, the selection growing by a page each time; back to the middle
// (not timed) before the end of the text.
void RunShiftPageDown(benchmark::State& state, bool peer) {
    Subject& s = Get(peer);
    const int middle = LineCount() / 2;
    s.PlaceCaret(middle, 0);
    int pages = 0;
    for (auto _ : state) {
        if (++pages > 200) {
            state.PauseTiming();
            s.PlaceCaret(middle, 0);
            pages = 0;
            state.ResumeTiming();
        }
        SendKey(s.Target(), Qt::Key_PageDown, Qt::ShiftModifier);
        s.Viewport()->repaint();
    }
}
void BM_TEditorShiftPageDown(benchmark::State& state) { RunShiftPageDown(state, false); }
void BM_QPlainTextEditShiftPageDown(benchmark::State& state) { RunShiftPageDown(state, true); }

class MedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                medians[run.run_name.function_name] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> medians;
};

}  // namespace

#define VEL_INPUT_BENCH(name)                                                                               \
    BENCHMARK(BM_TEditor##name)->Unit(benchmark::kMicrosecond)->Repetitions(Small() ? 2 : 9);               \
    BENCHMARK(BM_QPlainTextEdit##name)->Unit(benchmark::kMicrosecond)->Repetitions(Small() ? 2 : 9)
VEL_INPUT_BENCH(Type);
VEL_INPUT_BENCH(ImeCommit);
VEL_INPUT_BENCH(Enter);
VEL_INPUT_BENCH(Backspace);
VEL_INPUT_BENCH(ShiftPageDown);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    RegisterFontSubstitutes();
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const char* name : {"Type", "ImeCommit", "Enter", "Backspace", "ShiftPageDown"}) {
        const auto ours = reporter.medians.find(std::string("BM_TEditor") + name);
        const auto peer = reporter.medians.find(std::string("BM_QPlainTextEdit") + name);
        if (ours == reporter.medians.end() || peer == reporter.medians.end() || peer->second <= 0) continue;
        std::printf("%-14s median TEditor %8.1f us, QPlainTextEdit %8.1f us, ratio %.2f (target <= 0.5, < 2000 us)\n",
                    name, ours->second, peer->second, ours->second / peer->second);
    }
    std::fflush(stdout);
    gEditor.reset();
    gPeer.reset();
    benchmark::Shutdown();
    return 0;
}
