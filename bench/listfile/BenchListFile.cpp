// Reads and writes a generated list file of 50,000 documents (about 100 MB of Japanese text in nested
// groups) and times, in the same run, `wc -l` and `cp` on the same file; then measures the peak memory of a
// process that only reads the file. Prints the medians and the ratios:
//   read / wc -l <= 3, write / cp <= 3, peak memory / file size <= 2.
// VELLORIA_BENCH_SMALL=1 uses a file of about 1 MB (smoke test).
//
// The comparison tools and the child process make this benchmark POSIX-only, unlike the library.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

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
#include "app/LineReader.h"
#include "app/ListFile.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

fs::path gDir, gFile, gWritten, gCopy;
std::unique_ptr<TDocumentTree> gLoaded;
TListFileHost gHost;  // all defaults: no window

bool Small() {
    const char* v = std::getenv("VELLORIA_BENCH_SMALL");
    return v && *v && std::strcmp(v, "0") != 0;
}

// Runs a program with its output thrown away; returns its exit status.
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

void BM_Read(benchmark::State& state) {
    for (auto _ : state) {
        auto tree = std::make_unique<TDocumentTree>();
        TListFile list(*tree, gHost);
        auto result = list.ReadListFile(gFile);
        if (!result.Succeeded() || result.Damaged()) state.SkipWithError("read failed");
        state.PauseTiming();
        tree.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * fs::file_size(gFile));
}

void BM_WcL(benchmark::State& state) {
    for (auto _ : state)
        if (Run({"wc", "-l", gFile.string()}) != 0) state.SkipWithError("wc failed");
}

void BM_Write(benchmark::State& state) {
    TListFile list(*gLoaded, gHost);
    for (auto _ : state)
        if (!list.WriteListFile(gWritten)) state.SkipWithError("write failed");
    state.SetBytesProcessed(state.iterations() * fs::file_size(gFile));
}

void BM_Cp(benchmark::State& state) {
    for (auto _ : state)
        if (Run({"cp", gFile.string(), gCopy.string()}) != 0) state.SkipWithError("cp failed");
}

// One document whose body is a single line of range(0) MiB, read in blocks as where no mapping is offered:
// the time must grow with the line's length, not with its square.
void BM_ReadLongLine(benchmark::State& state) {
    const std::size_t bytes = static_cast<std::size_t>(state.range(0)) << 20;
    const fs::path file = gDir / ("line" + std::to_string(state.range(0)) + ".vlt");
    {
        TDocumentTree tree;
        TDocumentRecord record;
        record.Text = std::string(bytes, 'x') + "\r\n";
        tree.AppendChild(nullptr, std::move(record));
        TListFile(tree, gHost).WriteListFile(file);
    }
    const std::size_t saved = TLineReader::MapThreshold;
    TLineReader::MapThreshold = static_cast<std::size_t>(-1);
    for (auto _ : state) {
        TDocumentTree tree;
        TListFile list(tree, gHost);
        if (!list.ReadListFile(file).Succeeded() || tree.Count() != 1) state.SkipWithError("read failed");
    }
    TLineReader::MapThreshold = saved;
    std::error_code ec;
    fs::remove(file, ec);
    state.SetBytesProcessed(state.iterations() * bytes);
}

// What starting a process costs, for reading the wc and cp figures.
void BM_SpawnTrue(benchmark::State& state) {
    for (auto _ : state) Run({"true"});
}

// Keeps the median real time of each benchmark (milliseconds).
class TMedianReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> Median;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                Median[run.run_name.function_name +
                       (run.run_name.args.empty() ? "" : "/" + run.run_name.args)] =
                    run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
};

// Peak resident memory of this process in KiB. VmHWM belongs to the process's own address space, so unlike
// getrusage it does not carry over what the parent had before the program was started.
long MaxRssKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Child mode: read the file once and print the peak resident memory before and after, in KiB.
int ReadOnly(const char* file) {
    long before = MaxRssKb();
    TDocumentTree tree;
    TListFile list(tree, gHost);
    auto result = list.ReadListFile(file);
    long after = MaxRssKb();
    std::printf("%ld %ld %zu\n", before, after, tree.Count());
    return result.Succeeded() ? 0 : 1;
}

// Runs this program in child mode; returns {baseline, peak} in bytes.
std::pair<double, double> MeasurePeakMemory(const char* self) {
    int fds[2];
    if (pipe(fds) != 0) return {0, 0};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    std::string exe = self, mode = "--read-only", file = gFile.string();
    char* argv[] = {exe.data(), mode.data(), file.data(), nullptr};
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

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--read-only") == 0) return ReadOnly(argv[2]);

    const bool small = Small();
    static TTempDir dir("vel_bench_listfile_");
    gDir = dir.Path();
    gFile = gDir / "list.vlt";
    gWritten = gDir / "written.vlt";
    gCopy = gDir / "copy.vlt";

    {
        std::mt19937 rng(2024);
        TDocumentTree tree;
        TTreeGeneratorOptions options;
        options.Documents = small ? 500 : 50000;
        options.TextBytes = 2000;
        options.MaxDepth = 5;
        options.GroupShare = 0.03;
        GenerateTree(tree, rng, options);
        TListFile(tree, gHost).WriteListFile(gFile);
        std::printf("list file: %zu nodes, %.1f MB\n", tree.Count(), fs::file_size(gFile) / 1e6);
    }
    gLoaded = std::make_unique<TDocumentTree>();
    TListFile(*gLoaded, gHost).ReadListFile(gFile);

    const int reps = small ? 3 : 15;
    for (auto* b :
         {benchmark::RegisterBenchmark("Read", BM_Read), benchmark::RegisterBenchmark("WcL", BM_WcL),
          benchmark::RegisterBenchmark("Write", BM_Write), benchmark::RegisterBenchmark("Cp", BM_Cp),
          benchmark::RegisterBenchmark("SpawnTrue", BM_SpawnTrue)})
        b->UseRealTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1)
            ->Repetitions(reps)
            ->ReportAggregatesOnly(true);
    const std::vector<int> lineMiB = small ? std::vector<int>{1, 2, 4} : std::vector<int>{25, 50, 100};
    auto* longLine = benchmark::RegisterBenchmark("ReadLongLine", BM_ReadLongLine);
    for (int mib : lineMiB) longLine->Arg(mib);
    longLine->UseRealTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(small ? 3 : 5)
        ->ReportAggregatesOnly(true);

    // The repetitions of the five measurements are interleaved, so that a change in the machine's load
    // hits all of them alike and the ratios stay fair.
    std::vector<char*> args(argv, argv + argc);
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave.data());
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    TMedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    auto& m = reporter.Median;
    const double size = static_cast<double>(fs::file_size(gFile));
    auto [baseline, peak] = MeasurePeakMemory(argv[0]);
    std::printf("\nmedians (ms): read %.1f, wc -l %.1f, write %.1f, cp %.1f, process start %.1f\n", m["Read"],
                m["WcL"], m["Write"], m["Cp"], m["SpawnTrue"]);
    // The process start is taken off wc and cp, so they are not slowed by a cost our calls do not have.
    double wc = m["WcL"] - m["SpawnTrue"], cp = m["Cp"] - m["SpawnTrue"];
    std::printf("read / wc -l  = %.2f (target <= 3; %.2f counting wc's process start)\n", m["Read"] / wc,
                m["Read"] / m["WcL"]);
    std::printf("write / cp    = %.2f (target <= 3; %.2f counting cp's process start)\n", m["Write"] / cp,
                m["Write"] / m["Cp"]);
    std::printf("peak memory   = %.1f MB for a %.1f MB file: %.2f x (target <= 2; %.1f MB before reading)\n",
                peak / 1e6, size / 1e6, peak / size, baseline / 1e6);
    std::printf("one line read in blocks:");
    for (int mib : lineMiB) {
        const double ms = m["ReadLongLine/" + std::to_string(mib)];
        std::printf(" %d MiB %.1f ms (%.2f ms/MiB)", mib, ms, ms / mib);
    }
    std::printf(" (target: ms/MiB about flat)\n");

    gLoaded.reset();
    std::error_code ec;
    fs::remove_all(gDir, ec);
    benchmark::Shutdown();
    return 0;
}
