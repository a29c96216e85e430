// The main window on the list of the list file benchmark (50,000 documents, about 93 MB), offscreen:
//   - start to the first painted tree, less the same for an empty list, beside `velloria-cli check` on the
//     same file (target <= 1.5 x); the start on an empty list is reported as it is;
//   - peak memory of a process that opens the list (a child process; target <= 2.5 x the file size);
//   - moving the selection from an edited document to the next one (store-back, load into the editor,
//     repaint of tree and editor), for 10 KB documents (target < 5 ms) and 5 MB documents (< 50 ms);
//   - expanding a group of 10,000 children, with the repaint (< 50 ms);
//   - saving the list after one edit, beside `cp` of the file (<= 3 x).
// VELLORIA_BENCH_SMALL=1 uses small sizes (smoke test). Run with QT_QPA_PLATFORM=offscreen.
//
// The peer programs and the child process make this benchmark POSIX-only, unlike the program.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "support/TempDir.h"
#include "TreeGenerator.h"
#include "app/ListFile.h"
#include "app/gui/DocumentModel.h"
#include "app/gui/DocumentTreeView.h"
#include "app/gui/MainWindow.h"
#include "app/gui/MainWindowDialogs.h"
#include "editor/widget/Editor.h"
#include "gui/FontSubstitutes.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

fs::path gDir, gBig, gEmpty, gSmallDocs, gLargeDocs, gWideGroup, gCopy;
bool gSmall = false;

// Nobody answers questions in a benchmark: "No" to every question (a modified list is discarded on closing).
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

// Waits for the first paint of the tree after the window has taken the list from its command line.
class TPaintWatch : public QObject {
public:
    TfrmMain* Window = nullptr;
    QString File;
    bool Painted = false;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && Window && Window->FileName() == File) Painted = true;
        return false;
    }
};

std::unique_ptr<TfrmMain> StartWindow(const fs::path& file) {
    TfrmMainOptions options;
    options.IniFile = gDir / "bench.ini";
    options.Dialogs = &gDialogs;
    options.CommandLineFile = QString::fromStdString(file.string());
    return std::make_unique<TfrmMain>(options);
}

// Constructs the window on file and runs the event loop until the tree has been painted with the list.
std::unique_ptr<TfrmMain> StartUntilPainted(const fs::path& file) {
    TPaintWatch watch;
    watch.File = QString::fromStdString(file.string());
    // The filter goes on every tree viewport that comes to exist; the window's one is the only one.
    struct TInstaller : QObject {
        TPaintWatch* W;
        bool eventFilter(QObject* o, QEvent* e) override {
            if (e->type() == QEvent::Paint && o->objectName() == QLatin1String("qt_scrollarea_viewport") &&
                o->parent() && o->parent()->objectName() == QLatin1String("treDocument"))
                W->eventFilter(o, e);
            return false;
        }
    } installer;
    installer.W = &watch;
    qApp->installEventFilter(&installer);
    auto window = StartWindow(file);
    watch.Window = window.get();
    while (!watch.Painted) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    qApp->removeEventFilter(&installer);
    return window;
}

void Dispose(std::unique_ptr<TfrmMain>& window) {
    window->close();
    window.reset();
    QCoreApplication::processEvents();
}

int Run(std::vector<std::string> args) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid;
    int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void BM_StartBig(benchmark::State& state) {
    for (auto _ : state) {
        auto window = StartUntilPainted(gBig);
        state.PauseTiming();
        if (window->Tree().Empty()) state.SkipWithError("list not read");
        Dispose(window);
        state.ResumeTiming();
    }
}

void BM_StartEmpty(benchmark::State& state) {
    for (auto _ : state) {
        auto window = StartUntilPainted(gEmpty);
        state.PauseTiming();
        Dispose(window);
        state.ResumeTiming();
    }
}

void BM_CliCheck(benchmark::State& state) {
    for (auto _ : state)
        if (Run({VELLORIA_CLI, "check", gBig.string()}) != 0) state.SkipWithError("check failed");
}

void BM_SpawnTrue(benchmark::State& state) {
    for (auto _ : state) Run({"true"});
}

// Moves from document to document of the list in file, each edited before the move.
void MoveSelection(benchmark::State& state, const fs::path& file) {
    auto window = StartUntilPainted(file);
    TDocumentTree& tree = window->Tree();
    for (auto _ : state) {
        state.PauseTiming();
        TDocumentNode* node = window->SelectedNode();
        TDocumentNode* next = node->NextSibling() ? node->NextSibling() : tree.First();
        window->txtDocument->SetSelStart(0);
        window->txtDocument->SetSelText("x");
        state.ResumeTiming();
        window->SelectNode(next);
        window->treDocument->viewport()->repaint();
        window->txtDocument->viewport()->repaint();
        benchmark::DoNotOptimize(window->SelectedNode());
    }
    Dispose(window);
}

void BM_MoveSmallDocs(benchmark::State& state) {
    MoveSelection(state, gSmallDocs);
}
void BM_MoveLargeDocs(benchmark::State& state) {
    MoveSelection(state, gLargeDocs);
}

void BM_ExpandWideGroup(benchmark::State& state) {
    auto window = StartUntilPainted(gWideGroup);
    const QModelIndex group = window->Model().IndexOf(window->Tree().First());
    for (auto _ : state) {
        window->treDocument->expand(group);
        window->treDocument->viewport()->repaint();
        state.PauseTiming();
        if (window->treDocument->model()->rowCount(group) == 0) state.SkipWithError("no children");
        window->treDocument->collapse(group);
        window->treDocument->viewport()->repaint();
        state.ResumeTiming();
    }
    Dispose(window);
}

std::unique_ptr<TfrmMain> gSaving;

void BM_SaveAfterEdit(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        gSaving->txtDocument->SetSelStart(0);
        gSaving->txtDocument->SetSelText("x");
        state.ResumeTiming();
        gSaving->onClick_DocumentSave();
        state.PauseTiming();
        if (gSaving->Modified()) state.SkipWithError("save failed");
        state.ResumeTiming();
    }
}

// The part of a recovery snapshot that runs on the window's thread (the editor's text into its record, the
// list's bytes), after one typed character; the write on the worker thread is waited for outside the time.
void BM_RecoverySnapshot(benchmark::State& state) {
    TRecoveryManager& recovery = gSaving->Recovery();
    for (auto _ : state) {
        state.PauseTiming();
        gSaving->txtDocument->SetSelStart(0);
        gSaving->txtDocument->SetSelText("x");
        const int written = recovery.Written();
        state.ResumeTiming();
        recovery.SnapshotNow();
        state.PauseTiming();
        recovery.WaitIdle();
        if (recovery.Written() != written + 1) state.SkipWithError("no snapshot was written");
        state.ResumeTiming();
    }
}

void BM_Cp(benchmark::State& state) {
    for (auto _ : state)
        if (Run({"cp", gBig.string(), gCopy.string()}) != 0) state.SkipWithError("cp failed");
}

class TMedianReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> Median;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                Median[run.run_name.function_name] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
};

long MaxRssKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
    return 0;
}

// Child mode: open the window on the file, wait for the painted tree, print the peak resident memory in KiB
// before the window and at the end.
int PeakMode(int argc, char** argv) {
    QApplication app(argc, argv);
    RegisterFontSubstitutes();
    gDir = fs::path(argv[3]);
    const long before = MaxRssKb();
    auto window = StartUntilPainted(argv[2]);
    const long after = MaxRssKb();
    std::printf("%ld %ld %zu\n", before, after, window->Tree().Count());
    std::fflush(stdout);
    Dispose(window);
    return 0;
}

std::pair<double, double> MeasurePeakMemory(const char* self) {
    int fds[2];
    if (pipe(fds) != 0) return {0, 0};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    std::string exe = self, mode = "--peak", file = gBig.string(), dir = gDir.string();
    char* argv[] = {exe.data(), mode.data(), file.data(), dir.data(), nullptr};
    pid_t pid;
    int rc = posix_spawn(&pid, self, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    char buf[256] = {};
    ssize_t got = rc == 0 ? read(fds[0], buf, sizeof buf - 1) : 0;
    close(fds[0]);
    if (rc == 0) waitpid(pid, nullptr, 0);
    long before = 0, after = 0;
    if (got <= 0 || std::sscanf(buf, "%ld %ld", &before, &after) != 2) return {0, 0};
    return {before * 1024.0, after * 1024.0};
}

void WriteTree(TDocumentTree& tree, const fs::path& file) {
    TListFileHost quiet;
    TListFile(tree, quiet).WriteListFile(file);
}

// Top-level documents of about `bytes` bytes each.
void WriteDocuments(const fs::path& file, int count, std::size_t bytes, std::mt19937& rng) {
    TDocumentTree tree;
    for (int i = 0; i < count; ++i) {
        TDocumentRecord r;
        r.Name = GenerateName(rng, false);
        r.Date = "20240101";
        r.Text = GenerateText(rng, bytes);
        tree.AppendSibling(nullptr, std::move(r));
    }
    WriteTree(tree, file);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--peak") == 0) return PeakMode(argc, argv);

    QApplication app(argc, argv);
    RegisterFontSubstitutes();
    const char* small = std::getenv("VELLORIA_BENCH_SMALL");
    gSmall = small && *small && std::strcmp(small, "0") != 0;
    static TTempDir dir("vel_bench_mainwindow_");
    gDir = dir.Path();
    // Recovery files and backups go to the benchmark's own folder, not to the user's data folder.
    setenv("XDG_DATA_HOME", (gDir / "data").c_str(), 1);
    gBig = gDir / "list.vlt";
    gEmpty = gDir / "empty.vlt";
    gSmallDocs = gDir / "small-docs.vlt";
    gLargeDocs = gDir / "large-docs.vlt";
    gWideGroup = gDir / "wide-group.vlt";
    gCopy = gDir / "copy.vlt";
    std::mt19937 rng(2024);
    {
        // The list of the list file benchmark.
        TDocumentTree tree;
        TTreeGeneratorOptions options;
        options.Documents = gSmall ? 500 : 50000;
        options.TextBytes = 2000;
        options.MaxDepth = 5;
        options.GroupShare = 0.03;
        GenerateTree(tree, rng, options);
        WriteTree(tree, gBig);
        std::printf("list file: %zu nodes, %.1f MB\n", tree.Count(), fs::file_size(gBig) / 1e6);
    }
    {
        TDocumentTree empty;
        WriteTree(empty, gEmpty);
    }
    WriteDocuments(gSmallDocs, 20, 10 * 1024, rng);
    WriteDocuments(gLargeDocs, 4, gSmall ? 500 * 1024 : 5 * 1024 * 1024, rng);
    {
        TDocumentTree tree;
        TDocumentRecord group;
        group.Kind = dkGroup;
        group.Date = "20240101";
        TDocumentNode* g = tree.AppendSibling(nullptr, group);
        for (int i = 0, n = gSmall ? 1000 : 10000; i < n; ++i) {
            TDocumentRecord r;
            r.Name = GenerateName(rng, false);
            r.Date = "20240101";
            r.Text = "text\r\n";
            tree.AppendChild(g, std::move(r));
        }
        WriteTree(tree, gWideGroup);
    }

    const int reps = gSmall ? 3 : 11;
    for (auto* b : {benchmark::RegisterBenchmark("StartBig", BM_StartBig),
                    benchmark::RegisterBenchmark("StartEmpty", BM_StartEmpty),
                    benchmark::RegisterBenchmark("CliCheck", BM_CliCheck),
                    benchmark::RegisterBenchmark("SpawnTrue", BM_SpawnTrue),
                    benchmark::RegisterBenchmark("SaveAfterEdit", BM_SaveAfterEdit),
                    benchmark::RegisterBenchmark("RecoverySnapshot", BM_RecoverySnapshot),
                    benchmark::RegisterBenchmark("Cp", BM_Cp)})
        b->UseRealTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1)
            ->Repetitions(reps)
            ->ReportAggregatesOnly(true);
    for (auto* b : {benchmark::RegisterBenchmark("MoveSmallDocs", BM_MoveSmallDocs),
                    benchmark::RegisterBenchmark("MoveLargeDocs", BM_MoveLargeDocs),
                    benchmark::RegisterBenchmark("ExpandWideGroup", BM_ExpandWideGroup)})
        b->UseRealTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(gSmall ? 3 : 20)
            ->Repetitions(reps)
            ->ReportAggregatesOnly(true);

    // The window that saves: the big list with its first document selected.
    gSaving = StartUntilPainted(gBig);

    std::vector<char*> args(argv, argv + argc);
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave.data());
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    TMedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    Dispose(gSaving);

    auto& m = reporter.Median;
    const double size = static_cast<double>(fs::file_size(gBig));
    auto [baseline, peak] = MeasurePeakMemory(argv[0]);
    const double list = m["StartBig"] - m["StartEmpty"];
    std::printf(
        "\nmedians (ms): start with the list %.1f, with an empty list %.1f, velloria-cli check %.1f, "
        "process start %.1f\n",
        m["StartBig"], m["StartEmpty"], m["CliCheck"], m["SpawnTrue"]);
    std::printf(
        "list's share of the start = %.1f ms: %.2f x velloria-cli check (target <= 1.5; %.2f x check "
        "less its process start)\n",
        list, list / m["CliCheck"], list / (m["CliCheck"] - m["SpawnTrue"]));
    std::printf("start on an empty list to the first painted window: %.1f ms\n", m["StartEmpty"]);
    std::printf(
        "peak memory = %.1f MB for a %.1f MB file: %.2f x (target <= 2.5; %.1f MB before the window)\n",
        peak / 1e6, size / 1e6, peak / size, baseline / 1e6);
    std::printf(
        "moving the selection: %.2f ms for 10 KB documents (target < 5), %.2f ms for %s documents "
        "(target < 50)\n",
        m["MoveSmallDocs"], m["MoveLargeDocs"], gSmall ? "500 KB" : "5 MB");
    std::printf("expanding a group of %d children: %.2f ms (target < 50)\n", gSmall ? 1000 : 10000,
                m["ExpandWideGroup"]);
    std::printf(
        "save after one edit %.1f ms, cp %.1f ms: %.2f x (target <= 3; %.2f x cp less its process start)\n",
        m["SaveAfterEdit"], m["Cp"], m["SaveAfterEdit"] / m["Cp"],
        m["SaveAfterEdit"] / (m["Cp"] - m["SpawnTrue"]));
    std::printf("recovery snapshot of the %.1f MB list, the window's thread's part: %.1f ms (target < 20)\n",
                size / 1e6, m["RecoverySnapshot"]);

    std::error_code ec;
    fs::remove_all(gDir, ec);
    benchmark::Shutdown();
    return 0;
}
