// Text search over a generated Shift-JIS text of about 100 MB (Japanese and ASCII mixed, CR LF lines), for a
// pattern that does not occur. The pair benchmarks run `LC_ALL=C grep -F -c PATTERN FILE` (and `grep -F -i
// -c`) on the same text written to a file, alternating with the search in every iteration, and report the
// medians of both and their ratio (search / grep; the target is at most 2), by the clock (ratio) and by
// processor time (ratio_cpu). The other benchmarks time whole-word, ignore-width, ignore-line-break/space
// and backward searches alone.
// VELLORIA_BENCH_SMALL=1 uses about 1 MB (smoke test).
//
// grep runs as a child process, which makes this benchmark POSIX-only, unlike the library.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "support/TempDir.h"
#include "editor/search/SearchText.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

bool Small() {
    const char* v = std::getenv("VELLORIA_BENCH_SMALL");
    return v && *v && std::strcmp(v, "0") != 0;
}

// Mixed text: lines of 20-90 bytes with hiragana runs, katakana words, kanji, Japanese punctuation, ASCII
// words in both cases, digits, spaces and now and then half-width katakana.
std::string GenerateText(std::size_t size) {
    std::mt19937 rng(12345);
    std::string text;
    text.reserve(size + 128);
    auto put2 = [&](int lead, int trail) {
        text += static_cast<char>(lead);
        text += static_cast<char>(trail);
    };
    std::size_t lineEnd = 20 + rng() % 70;
    while (text.size() < size) {
        switch (rng() % 10) {
            case 0:
            case 1:
            case 2:  // hiragana ぁ-ん
                for (int n = 1 + rng() % 5; n > 0; --n) put2(0x82, 0x9F + rng() % (0xF1 - 0x9F + 1));
                break;
            case 3: {  // katakana ァ-ヶ (no 0x7F)
                for (int n = 2 + rng() % 4; n > 0; --n) {
                    int t = 0x40 + rng() % (0x96 - 0x40);
                    if (t >= 0x7F) ++t;
                    put2(0x83, t);
                }
                break;
            }
            case 4:
            case 5: {  // kanji of the first level (0x889F-0x9872)
                for (int n = 1 + rng() % 3; n > 0; --n) {
                    const int lead = 0x89 + rng() % (0x97 - 0x89 + 1);
                    int t = 0x40 + rng() % (0xFC - 0x40);
                    if (t >= 0x7F) ++t;
                    put2(lead, t);
                }
                break;
            }
            case 6:
                put2(0x81, rng() % 2 ? 0x42 : 0x41);  // 。、
                break;
            case 7:
            case 8: {  // an ASCII word
                const int n = 2 + rng() % 7;
                for (int i = 0; i < n; ++i)
                    text += static_cast<char>((i == 0 && rng() % 3 == 0 ? 'A' : 'a') + rng() % 26);
                text += ' ';
                break;
            }
            default:
                if (rng() % 3 == 0) {
                    for (int n = 2 + rng() % 4; n > 0; --n)
                        text += static_cast<char>(0xB1 + rng() % 45);  // ｱ-ﾝ
                } else {
                    text += std::to_string(rng() % 10000);
                    text += ' ';
                }
                break;
        }
        if (text.size() >= lineEnd) {
            text += "\r\n";
            lineEnd = text.size() + 20 + rng() % 70;
        }
    }
    return text;
}

// Patterns that the generator never produces: an ASCII word longer than any generated one, and a Japanese
// phrase ("存在しない語句").
const std::string kAsciiPattern = "Velloriaxq";
const std::string kJapanesePattern = "\x91\xB6\x8D\xDD\x82\xB5\x82\xC8\x82\xA2\x8C\xEA\x8B\xE5";

struct TFixture {
    std::string Text;
    fs::path File;
    bool Ready = false;
};
TFixture gFixture;
TFixture& Fixture() {
    TFixture& f = gFixture;
    if (!f.Ready) {
        f.Text = GenerateText(Small() ? (std::size_t{1} << 20) : std::size_t{100} << 20);
        static TTempDir dir("vel_bench_search_");
        f.File = dir / "text.txt";
        std::ofstream(f.File, std::ios::binary)
            .write(f.Text.data(), static_cast<std::streamsize>(f.Text.size()));
        f.Ready = true;
    }
    return f;
}

// Runs grep with LC_ALL=C and its output thrown away; returns its exit status (1: no line matched) and adds
// the processor time it used (user and system) to *cpu.
int RunGrep(const std::vector<std::string>& options, const std::string& pattern, const fs::path& file,
            double* cpu = nullptr) {
    std::vector<std::string> args = {"grep"};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back("--");
    args.push_back(pattern);
    args.push_back(file.string());
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> env = {"LC_ALL=C", "PATH=/usr/bin:/bin"};
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid;
    const int rc = posix_spawnp(&pid, "grep", &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return -1;
    int status = 0;
    struct rusage usage {};
    wait4(pid, &status, 0, &usage);
    if (cpu)
        *cpu += usage.ru_utime.tv_sec + usage.ru_utime.tv_usec * 1e-6 + usage.ru_stime.tv_sec +
                usage.ru_stime.tv_usec * 1e-6;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Processor time of this thread, in seconds.
double ThreadCpu() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec * 1e-9;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n == 0 ? 0 : (n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2);
}

using Clock = std::chrono::steady_clock;
double Seconds(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

// One search from the start of the text; the pattern must not be found.
bool SearchOnce(const std::string& text, const std::string& pattern, TSearchFlags flags) {
    TSearchPosition pos{(flags & sfForward) ? 0 : static_cast<std::ptrdiff_t>(text.size()), 0};
    return SearchText(text, pos, pattern, flags);
}

// The search and grep alternately, each iteration timing both; the counters hold the medians.
void PairWithGrep(benchmark::State& state, const std::string& pattern, TSearchFlags flags,
                  std::vector<std::string> grepOptions) {
    TFixture& f = Fixture();
    if (SearchOnce(f.Text, pattern, flags)) {
        state.SkipWithError("the pattern occurs in the text");
        return;
    }
    if (RunGrep(grepOptions, pattern, f.File) != 1) {
        state.SkipWithError("grep did not run, or found the pattern");
        return;
    }
    std::vector<double> ours, theirs, oursCpu, theirsCpu;
    for (auto _ : state) {
        double grepCpu = 0;
        const auto g0 = Clock::now();
        RunGrep(grepOptions, pattern, f.File, &grepCpu);
        const auto g1 = Clock::now();
        const double c0 = ThreadCpu();
        const bool found = SearchOnce(f.Text, pattern, flags);
        const double c1 = ThreadCpu();
        const auto s1 = Clock::now();
        benchmark::DoNotOptimize(found);
        theirs.push_back(Seconds(g0, g1));
        ours.push_back(Seconds(g1, s1));
        theirsCpu.push_back(grepCpu);
        oursCpu.push_back(c1 - c0);
        state.SetIterationTime(Seconds(g1, s1));
    }
    // Wall-clock medians, and processor-time medians, which other load on the machine disturbs less.
    const double o = Median(ours), t = Median(theirs), oc = Median(oursCpu), tc = Median(theirsCpu);
    state.counters["search_ms"] = o * 1e3;
    state.counters["grep_ms"] = t * 1e3;
    state.counters["ratio"] = t > 0 ? o / t : 0;
    state.counters["search_cpu_ms"] = oc * 1e3;
    state.counters["grep_cpu_ms"] = tc * 1e3;
    state.counters["ratio_cpu"] = tc > 0 ? oc / tc : 0;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.Text.size()));
}

void SearchAlone(benchmark::State& state, const std::string& pattern, TSearchFlags flags) {
    TFixture& f = Fixture();
    if (SearchOnce(f.Text, pattern, flags)) {
        state.SkipWithError("the pattern occurs in the text");
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(SearchOnce(f.Text, pattern, flags));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.Text.size()));
}

const int kPairIterations = Small() ? 3 : 15;

void Register() {
    struct TPair {
        const char* Name;
        const std::string* Pattern;
        TSearchFlags Flags;
        std::vector<std::string> Grep;
    };
    const TPair pairs[] = {
        {"MatchCase/ascii", &kAsciiPattern, sfForward | sfMatchCase, {"-F", "-c"}},
        {"MatchCase/japanese", &kJapanesePattern, sfForward | sfMatchCase, {"-F", "-c"}},
        {"IgnoreCase/ascii", &kAsciiPattern, sfForward, {"-F", "-i", "-c"}},
        {"IgnoreCase/japanese", &kJapanesePattern, sfForward, {"-F", "-i", "-c"}},
    };
    for (const TPair& p : pairs) {
        benchmark::RegisterBenchmark(
            (std::string("VersusGrep/") + p.Name).c_str(),
            [p](benchmark::State& s) { PairWithGrep(s, *p.Pattern, p.Flags, p.Grep); })
            ->Iterations(kPairIterations)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    }
    struct TAlone {
        const char* Name;
        const std::string* Pattern;
        TSearchFlags Flags;
    };
    const TAlone alone[] = {
        {"Backward/ascii", &kAsciiPattern, sfMatchCase},
        {"Backward/japanese", &kJapanesePattern, 0},
        {"WholeWord/ascii", &kAsciiPattern, sfForward | sfWholeWord},
        {"WholeWord/japanese", &kJapanesePattern, sfForward | sfWholeWord},
        {"IgnoreWidth/ascii", &kAsciiPattern, sfForward | sfIgnoreWidth},
        {"IgnoreWidth/japanese", &kJapanesePattern, sfForward | sfIgnoreWidth},
        {"IgnoreLineBreaksSpaces/ascii", &kAsciiPattern, sfForward | sfIgnoreLineBreaks | sfIgnoreSpaces},
        {"IgnoreLineBreaksSpaces/japanese", &kJapanesePattern,
         sfForward | sfIgnoreLineBreaks | sfIgnoreSpaces},
        {"AllOptions/ascii", &kAsciiPattern,
         sfForward | sfWholeWord | sfIgnoreWidth | sfIgnoreLineBreaks | sfIgnoreSpaces},
    };
    for (const TAlone& a : alone) {
        benchmark::RegisterBenchmark((std::string("Search/") + a.Name).c_str(),
                                     [a](benchmark::State& s) { SearchAlone(s, *a.Pattern, a.Flags); })
            ->Repetitions(Small() ? 1 : 5)
            ->ReportAggregatesOnly(!Small())
            ->Unit(benchmark::kMillisecond);
    }
}

}  // namespace

int main(int argc, char** argv) {
    Register();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (gFixture.Ready) fs::remove(gFixture.File);
    return 0;
}
