// Find and replace through the main window, offscreen, on one large Japanese document:
//   - Replace All of a one-byte pattern occurring 100,000 times in a 10 MB document by a two-byte text, up to
//     the repainted window (target < 0.5 s), and the same for 200,000 in 20 MB (linear: within 2.2 x);
//   - Find Next from the start of a 10 MB document whose only match is at its end (the search, selecting and
//     scrolling, the repaint) beside SearchText alone on the same text (<= 2 x); and the same right after
//     an edit, when the search first copies the text out of the editor's rows.
// Prints the medians and their ratios. VELLORIA_BENCH_SMALL=1 uses a tenth of the sizes (smoke test).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLabel>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "support/TempDir.h"
#include "app/DocumentTree.h"
#include "app/ListFile.h"
#include "app/gui/FindDialog.h"
#include "app/gui/MainWindow.h"
#include "app/gui/MainWindowDialogs.h"
#include "app/gui/ReplaceDialog.h"
#include "editor/search/SearchText.h"
#include "editor/widget/Editor.h"
#include "gui/FontSubstitutes.h"
#include "text/SjisCodec.h"

namespace {

namespace fs = std::filesystem;

bool gSmall = false;
fs::path gDir;

// Nobody answers questions in a benchmark: "No" to every question, so a modified list is discarded.
class TQuietDialogs : public TMainWindowDialogs {
public:
    QMessageBox::StandardButton Message(QWidget*, QMessageBox::Icon, const QString& text,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton) override {
        if (buttons != QMessageBox::Ok) return QMessageBox::No;
        std::fprintf(stderr, "message: %s\n", text.toLocal8Bit().constData());
        return QMessageBox::Ok;
    }
    QString OpenFileName(QWidget*, const TFileDialog&) override { return {}; }
    QString SaveFileName(QWidget*, const TFileDialog&) override { return {}; }
    void OpenUrl(const QUrl&) override {}
} gDialogs;

std::string Sjis(const char* utf8) {
    return SjisCodec::FromUnicode(QString::fromUtf8(utf8));
}

// Lines of Japanese and ASCII of about 100 bytes with CR LF, `marks` of them holding one "@" each (the only
// "@" bytes of the text: no piece has 0x40 as a trail byte), spread evenly; `bytes` in all, roughly.
std::string MakeText(std::size_t bytes, int marks, const std::string& tail) {
    static const char* const kPieces[] = {"日本語の文章", "ひらがな", "カタカナ", "漢字交じり", "abc",
                                          "、",           "。",       "123",      "半角ｶﾅ",     " "};
    std::string pieces[10];
    for (int i = 0; i < 10; ++i) pieces[i] = Sjis(kPieces[i]);
    std::string out;
    out.reserve(bytes + tail.size() + 128);
    unsigned seed = 11;
    const std::size_t lines = bytes / 100;
    const std::size_t every = marks > 0 ? lines / static_cast<std::size_t>(marks) : 0;
    int placed = 0;
    for (std::size_t i = 0; i < lines; ++i) {
        std::string line;
        while (line.size() < 96) {
            seed = seed * 1103515245u + 12345u;
            line += pieces[(seed >> 16) % 10];
        }
        if (every && i % every == 0 && placed < marks) {
            line += '@';
            ++placed;
        }
        out += line;
        out += "\r\n";
    }
    return out + tail;
}

// A window on a list of one document holding `text`, shown and painted.
std::unique_ptr<TfrmMain> OpenWindow(const std::string& name, const std::string& text) {
    const fs::path file = gDir / (name + ".vlt");
    {
        TDocumentTree tree;
        TDocumentRecord r;
        r.Name = name;
        r.Date = "20240101";
        r.Text = text;
        tree.AppendSibling(nullptr, std::move(r));
        TListFileHost quiet;
        TListFile(tree, quiet).WriteListFile(file);
    }
    TfrmMainOptions options;
    options.IniFile = gDir / "bench.ini";
    options.Dialogs = &gDialogs;
    options.CommandLineFile = QString::fromStdString(file.string());
    auto w = std::make_unique<TfrmMain>(options);
    w->show();
    for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();
    return w;
}

void Dispose(std::unique_ptr<TfrmMain>& w) {
    w->SetModified(false);
    w->close();
    w.reset();
    QCoreApplication::processEvents();
}

// Runs the posted events (the repaint of the editor and of the status bar).
void Repaint() {
    QCoreApplication::processEvents();
}

struct TReplaceCase {
    std::unique_ptr<TfrmMain> Window;
    std::string Original;
    int Marks = 0;
};
std::map<std::string, TReplaceCase> gReplace;

void BM_ReplaceAll(benchmark::State& state, const std::string& key) {
    TReplaceCase& c = gReplace[key];
    TfrmMain& w = *c.Window;
    TReplaceDialog& d = *w.objReplaceDialog;
    d.SetFindText(QStringLiteral("@"));
    d.SetReplaceText(QString::fromUtf8("＠"));
    d.SetDown(true);
    const QString expected = QStringLiteral("%1 個置換しました").arg(c.Marks);
    for (auto _ : state) {
        state.PauseTiming();
        w.txtDocument->SetText(c.Original);
        w.txtDocument->SetSelStart(0);
        Repaint();
        state.ResumeTiming();
        w.onReplace_objReplaceDialog(true);
        Repaint();
        state.PauseTiming();
        if (w.pnlStatus[2]->text() != expected) {
            state.SkipWithError("Replace All did not replace every match");
            break;
        }
        state.ResumeTiming();
    }
}

std::unique_ptr<TfrmMain> gFindWindow;
std::string gFindText;
std::string gNeedle;

// Find Next again and again (the text copy of the first search is reused), or right after an edit (the
// search takes a fresh copy of the text first).
void BM_FindNext(benchmark::State& state, bool afterEdit) {
    TfrmMain& w = *gFindWindow;
    TFindDialog& d = *w.objFindDialog;
    d.SetFindText(QString::fromUtf8("終端の見出し"));
    d.SetDown(true);
    const int expected = static_cast<int>(gFindText.size() - gNeedle.size());
    for (auto _ : state) {
        state.PauseTiming();
        w.txtDocument->SetSelStart(0);
        if (afterEdit) {
            w.txtDocument->InsertText("x");
            w.txtDocument->Undo();
        }
        w.txtDocument->SetTopRow(0);
        Repaint();
        state.ResumeTiming();
        w.onFind_objFindDialog(d);
        Repaint();
        state.PauseTiming();
        if (w.txtDocument->SelStart() != expected) {
            state.SkipWithError("Find Next did not select the match at the end");
            break;
        }
        state.ResumeTiming();
    }
}

void BM_SearchText(benchmark::State& state) {
    for (auto _ : state) {
        TSearchPosition pos{0, 0};
        const bool found = SearchText(gFindText, pos, gNeedle, sfForward);
        benchmark::DoNotOptimize(found);
        benchmark::DoNotOptimize(pos);
    }
}

class TMedianReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> Median;  // in each benchmark's unit (milliseconds)
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                Median[run.run_name.function_name] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    RegisterFontSubstitutes();
    const char* small = std::getenv("VELLORIA_BENCH_SMALL");
    gSmall = small && *small && std::strcmp(small, "0") != 0;
    static TTempDir dir("vel_bench_find_");
    gDir = dir.Path();
    // No recovery snapshots or backups in the user's data folder.
    std::ofstream(gDir / "bench.ini") << "[Application]\r\nRecovery=0\r\nBackups=0\r\n";

    const std::size_t mb = gSmall ? 100 * 1000 : 1000 * 1000;
    const int marks = gSmall ? 10000 : 100000;
    gReplace["ReplaceAll10MB"] = {nullptr, MakeText(10 * mb, marks, ""), marks};
    gReplace["ReplaceAll20MB"] = {nullptr, MakeText(20 * mb, 2 * marks, ""), 2 * marks};
    for (auto& [key, c] : gReplace) c.Window = OpenWindow(key, c.Original);
    gNeedle = Sjis("終端の見出し");
    gFindText = MakeText(10 * mb, 0, gNeedle);
    gFindWindow = OpenWindow("FindNext", gFindText);
    std::printf("documents: %.1f MB with %d matches, %.1f MB with %d, %.1f MB with one match at the end\n",
                gReplace["ReplaceAll10MB"].Original.size() / 1e6, marks,
                gReplace["ReplaceAll20MB"].Original.size() / 1e6, 2 * marks, gFindText.size() / 1e6);

    const int reps = gSmall ? 2 : 9;
    for (const char* key : {"ReplaceAll10MB", "ReplaceAll20MB"})
        benchmark::RegisterBenchmark(key, [key](benchmark::State& s) { BM_ReplaceAll(s, key); })
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1)
            ->Repetitions(reps)
            ->ReportAggregatesOnly(true);
    for (auto* b : {benchmark::RegisterBenchmark("FindNext", BM_FindNext, false),
                    benchmark::RegisterBenchmark("FindNextAfterEdit", BM_FindNext, true),
                    benchmark::RegisterBenchmark("SearchText", BM_SearchText)})
        b->UseRealTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(gSmall ? 2 : 10)
            ->Repetitions(reps)
            ->ReportAggregatesOnly(true);

    int count = argc;
    benchmark::Initialize(&count, argv);
    TMedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (auto& [key, c] : gReplace) Dispose(c.Window);
    Dispose(gFindWindow);

    auto& m = reporter.Median;
    std::printf("\nmedians (ms): Replace All %.1f (%s), %.1f (twice the text and matches): %.2f x (target <= 2.2)\n",
                m["ReplaceAll10MB"], gSmall ? "1 MB, target < 50" : "10 MB, target < 500", m["ReplaceAll20MB"],
                m["ReplaceAll20MB"] / m["ReplaceAll10MB"]);
    std::printf("Find Next to the end %.2f, SearchText alone %.2f: %.2f x (target <= 2)\n", m["FindNext"],
                m["SearchText"], m["FindNext"] / m["SearchText"]);
    std::printf("Find Next right after an edit (with the copy of the text) %.2f: %.2f x SearchText\n",
                m["FindNextAfterEdit"], m["FindNextAfterEdit"] / m["SearchText"]);
    return 0;
}
