// Token scanner throughput: rows of mixed Japanese and ASCII text (words, numbers, URLs, mail addresses,
// strings, comments, bracket pairs) scanned as the row list and the painter do it: one scanner per job,
// ResetScan per row, NextToken to the end; with and without the option-based recognisers, and with the
// colour lookup (reserved-word bisection) of every token as the painter does.
// VELLORIA_BENCH_SMALL=1 uses 2,000 rows instead of 200,000 (smoke test).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "editor/support/FakeEditorHost.h"
#include "editor/scan/EditorParser.h"
#include "editor/options/EditorViewInfo.h"

namespace {

bool Small() {
    const char* v = std::getenv("VELLORIA_BENCH_SMALL");
    return v && *v && std::strcmp(v, "0") != 0;
}

std::vector<std::string> MakeRows(std::size_t count) {
    static const std::vector<std::string> pieces = {
        "\x82\xB1\x82\xEA\x82\xCD",          // これは
        "\x93\xFA\x96\x7B\x8C\xEA",          // 日本語
        "\x83\x65\x83\x4C\x83\x58\x83\x67",  // テキスト
        "\x82\xC5\x82\xB7\x81\x42",          // です。
        "\x81\x75\x88\xF8\x97\x70\x81\x76",  // 「引用」
        "\x82\x50\x82\x51\x82\x52",          // １２３
        "\xB6\xC0\xB6\xC5",                  // ｶﾀｶﾅ
        "begin",
        "value_1",
        "end;",
        "3.14",
        "0x1F",
        "#13",
        "(a, b)",
        "\"str\"",
        "// note",
        "https://www.example.jp/path?q=1",
        "user@example.co.jp",
        "\t",
        "=",
        "+",
    };
    std::mt19937 rng(12345);
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    std::uniform_int_distribution<int> length(20, 110);
    std::vector<std::string> rows;
    rows.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::string row;
        const int target = length(rng);
        while (static_cast<int>(row.size()) < target) {
            row += pieces[pick(rng)];
            row += ' ';
        }
        if (i % 8 == 0) row += "// note";  // some rows end in a comment
        rows.push_back(std::move(row));
    }
    return rows;
}

const std::vector<std::string>& Rows() {
    static const std::vector<std::string> rows = MakeRows(Small() ? 2000 : 200000);
    return rows;
}

std::size_t TotalBytes() {
    std::size_t n = 0;
    for (const auto& r : Rows()) n += r.size();
    return n;
}

// A host without options, and one with every recogniser switched on and a reserved-word list.
TFakeEditorHost& Host(bool options) {
    static TFakeEditorHost plain;
    static TFakeEditorHost full;
    static const bool configured = [](TFakeEditorHost& h) {
        h.view.SetMail(true);
        h.view.SetUrl(true);
        h.view.SetCommenter("//");
        h.view.SetQuotation("\"");
        h.view.SetControlCode(true);
        h.view.SetHexPrefix("0x");
        h.view.Brackets().Add("(", ")");
        h.view.Brackets().Add("\x81\x75", "\x81\x76");
        h.view.Brackets().Add("/*", "*/");
        h.SetReserveWords({"begin", "end", "var", "procedure", "function", "if", "then", "else", "while",
                           "do", "repeat", "until", "for", "to", "downto", "case", "of", "record"});
        return true;
    }(full);
    (void)configured;
    return options ? full : plain;
}

void ScanRows(benchmark::State& state, const TScanOptions& options, bool colours) {
    const auto& rows = Rows();
    std::size_t tokens = 0;
    for (auto _ : state) {
        TEditorParser parser(options, kBracketNone);
        for (const std::string& row : rows) {
            parser.ResetScan(row.c_str(), options, tokNone, kBracketNone);
            while (parser.Kind() != tokNone) {
                if (colours) benchmark::DoNotOptimize(parser.TokenColor());
                ++tokens;
                parser.NextToken();
            }
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * TotalBytes()));
    state.counters["ns_per_row"] =
        benchmark::Counter(static_cast<double>(rows.size()) * state.iterations(),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["tokens_per_row"] = static_cast<double>(tokens) / (rows.size() * state.iterations());
}

void BM_ScanFirstByteTableOnly(benchmark::State& state) {
    ScanRows(state, {}, false);
}
void BM_ScanNoOptions(benchmark::State& state) {
    ScanRows(state, Host(false).ScanOptions(), false);
}
void BM_ScanAllOptions(benchmark::State& state) {
    ScanRows(state, Host(true).ScanOptions(), false);
}
void BM_ScanAllOptionsWithColours(benchmark::State& state) {
    ScanRows(state, Host(true).ScanOptions(), true);
}

// One row rescanned after an edit: a fresh scanner per job, one row of about 80 bytes.
void BM_ScanOneRowNewScanner(benchmark::State& state) {
    const std::string row = Rows()[7];
    const TScanOptions options = Host(true).ScanOptions();
    for (auto _ : state) {
        TEditorParser parser(options, kBracketNone);
        parser.ResetScan(row.c_str(), options, tokNone, kBracketNone);
        while (parser.Kind() != tokNone) parser.NextToken();
        benchmark::DoNotOptimize(parser.Bracket());
    }
    state.counters["row_bytes"] = static_cast<double>(row.size());
}

}  // namespace

BENCHMARK(BM_ScanFirstByteTableOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanNoOptions)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanAllOptions)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanAllOptionsWithColours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanOneRowNewScanner);

BENCHMARK_MAIN();
