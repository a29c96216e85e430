// The editor's row list on a generated Shift-JIS text of 1,000,000 lines (about 50 MB; Japanese and ASCII
// mixed, about one line in eight wider than 80 columns), beside QPlainTextEdit in the same run:
//
//   SetTextStr with word wrap off and on (WrapByte 80), against QPlainTextEdit::setPlainText of the same
//   text (decoded to Unicode beforehand, outside the timing);
//   one typed byte and one Enter in the middle row (one ReplaceRows each, with its undo record and rescan)
//   and the undo of each, timed one by one (median and 99th percentile);
//   switching word wrap on for the whole text; loading the text from a file;
//   memory held by the rows against the text's bytes;
//   typing next to long lines and deep in a large wrapped text, one byte at a time as the editor types (the
//   row rebuilt with the byte, one ReplaceRows), with the undo memory each typed byte holds:
//     - at the end of a short line right above a 4 MiB line, word wrap off;
//     - near the start of a 2.2 MB line of mixed text, word wrap on;
//     - on the first row of line 999,000 of 1,000,000 lines, word wrap on, with the line-number lookup the
//       left bar makes for the repaint;
//   TEditorStrings::Put over every line of a 20,000-line wrapped text.
//
// VELLORIA_BENCH_SMALL=1 uses 10,000 lines. Run with QT_QPA_PLATFORM=offscreen (set here when unset).
// The summary with the ratios is printed after Google Benchmark's own table.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "editor/RowListClient.h"
#include "editor/rows/EditorScreenStrings.h"
#include "editor/rows/EditorStrings.h"
#include "editor/rows/EditorUndoObj.h"
#include "editor/options/EditorViewInfo.h"
#include "editor/wrap/EditorWrapOption.h"
#include "support/TempDir.h"
#include "text/SjisCodec.h"

namespace {

using Clock = std::chrono::steady_clock;

bool Small() {
    const char* s = std::getenv("VELLORIA_BENCH_SMALL");
    return s && *s && *s != '0';
}

int LineCount() {
    return Small() ? 10000 : 1000000;
}

// A generated text: words of ASCII, hiragana, katakana and kanji with spaces and punctuation, CR LF line
// breaks. Short lines have 12-48 bytes of words, every eighth line 100-200 bytes: about 50 bytes a line.
const std::string& Text() {
    static const std::string text = [] {
        std::mt19937 rng(12345);
        const std::vector<std::string> words = {
            "the",
            "editor",
            "row",
            "wrap",
            "12345",
            "x_value",
            "(a+b)",
            "\x82\xA0\x82\xA2\x82\xA4",
            "\x8A\xBF\x8E\x9A",
            "\x83\x4A\x83\x5E\x83\x4A\x83\x69",
            "\x81\x41",
            "\x81\x42",
            "\x93\xFA\x96\x7B\x8C\xEA",
            "http://example.jp/a",
            "\x81\x75",
            "\x81\x76",
            "\xB1\xB2\xB3",
            "\t",
        };
        std::string out;
        out.reserve(static_cast<std::size_t>(LineCount()) * 52);
        for (int line = 0; line < LineCount(); ++line) {
            const std::size_t target = (line % 8 == 7) ? 100 + rng() % 100 : 12 + rng() % 36;
            std::size_t len = 0;
            while (len < target) {
                const std::string& w = words[rng() % words.size()];
                out += w;
                out += ' ';
                len += w.size() + 1;
            }
            out += "\r\n";
        }
        return out;
    }();
    return text;
}

// An editor that does nothing with the calls of the row list (a recording fake would grow with the run).
class TBenchHost : public TRowListClient {
public:
    int Row() const override { return FRow; }
    int Col() const override { return FCol; }
    void SetRow(int row) override { FRow = row; }
    void SetCol(int col) override { FCol = col; }
    void MoveCaretToOffset(int, int) override {}
    int TopRow() const override { return FTopRow; }
    void SetTopRowDirect(int row) override { FTopRow = row; }
    int RowHeight() const override { return 15; }
    int DisplayHeight() const override { return 600; }
    void CleanSelection() override {}
    void HideCaretNested() override {}
    void ShowCaretNested() override {}
    void StringsChanged() override {}
    void InvalidateRow(int) override {}
    void Refresh() override {}
    void SetLinesUpdating(bool) override {}
    bool Focused() const override { return true; }
    TRowListOptions Options() const { return {{&FView, &FWords}, {}}; }

private:
    int FRow = 0, FCol = 0, FTopRow = 0;
    TEditorViewInfo FView;
    TReserveWordList FWords;
};

// Medians collected for the summary.
struct TSummary {
    std::vector<double> setOff, setOn, qt, wrapOn, load;
    double typeOff = 0, enterOff = 0, undoTypeOff = 0, undoEnterOff = 0;
    double typeOn = 0, enterOn = 0, undoTypeOn = 0, undoEnterOn = 0;
    double p99TypeOff = 0, p99EnterOff = 0, p99UndoTypeOff = 0, p99UndoEnterOff = 0;
    long long rowsOff = 0, rowsOn = 0;
    double memOff = 0, memOn = 0, heapOff = 0, heapOn = 0;
} g;

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

double Percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[static_cast<std::size_t>(p * static_cast<double>(v.size() - 1))];
}

std::size_t AllocatedBytes() {
#if defined(__GLIBC__)
    struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
#else
    return 0;
#endif
}

// A row list with one editor and its logical-line view.
struct TModel {
    TBenchHost host;
    TEditorScreenStrings rows;
    TEditorStrings lines{rows, &host};
    explicit TModel(bool wrap) {
        rows.AddEditor(&host, host.Options());
        rows.SetWordWrap(wrap);
    }
};

void SetText(benchmark::State& state, bool wrap) {
    const std::string& text = Text();
    for (auto _ : state) {
        TModel* model = new TModel(wrap);
        const std::size_t before = AllocatedBytes();
        const auto t0 = Clock::now();
        model->lines.SetTextStr(text);
        const double s = Seconds(Clock::now() - t0);
        state.SetIterationTime(s);
        (wrap ? g.setOn : g.setOff).push_back(s);
        const double held = static_cast<double>(AllocatedBytes() - before);
        (wrap ? g.memOn : g.memOff) = held / static_cast<double>(text.size());
        (wrap ? g.heapOn : g.heapOff) =
            static_cast<double>(model->rows.HeapBytes()) / static_cast<double>(text.size());
        (wrap ? g.rowsOn : g.rowsOff) = model->rows.Count();
        state.counters["rows"] = model->rows.Count();
        state.counters["held/text"] = held / static_cast<double>(text.size());
        state.PauseTiming();
        delete model;
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_SetTextStr_WrapOff(benchmark::State& state) {
    SetText(state, false);
}
void BM_SetTextStr_WrapOn(benchmark::State& state) {
    SetText(state, true);
}

void BM_LoadFromFile_WrapOff(benchmark::State& state) {
    const TTempDir dir("vel_bench_editor_model_");
    const std::string path = (dir / "text.txt").string();
    std::ofstream(path, std::ios::binary) << Text();
    for (auto _ : state) {
        auto model = std::make_unique<TModel>(false);
        const auto t0 = Clock::now();
        model->lines.LoadFromFile(path);
        const double s = Seconds(Clock::now() - t0);
        state.SetIterationTime(s);
        g.load.push_back(s);
        state.counters["rows"] = model->rows.Count();
        state.PauseTiming();
        model.reset();
        state.ResumeTiming();
    }
}

void BM_QPlainTextEdit_setPlainText(benchmark::State& state) {
    const QString unicode = SjisCodec::ToUnicode(Text());
    for (auto _ : state) {
        QPlainTextEdit edit;
        edit.resize(800, 600);
        const auto t0 = Clock::now();
        edit.setPlainText(unicode);
        const double s = Seconds(Clock::now() - t0);
        state.SetIterationTime(s);
        g.qt.push_back(s);
        state.counters["blocks"] = edit.document()->blockCount();
    }
}

// Times each call of op(i) separately; returns the durations in microseconds.
template <class Op>
std::vector<double> TimeEach(int n, Op&& op) {
    std::vector<double> us;
    us.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const auto t0 = Clock::now();
        op(i);
        us.push_back(Seconds(Clock::now() - t0) * 1e6);
    }
    return us;
}

void Edits(benchmark::State& state, bool wrap) {
    const int n = Small() ? 200 : 2000;
    for (auto _ : state) {
        state.PauseTiming();
        TModel model(wrap);
        model.lines.SetTextStr(Text());
        model.rows.UndoObj().SetCapacity(2 * n);
        const int mid = model.rows.Count() / 2;
        model.host.SetTopRowDirect(mid);
        model.rows.ScanFrom(mid, false);  // what the painter does for the rows it shows there
        // Warm-up: the gap of the row buffer moves to the middle once.
        model.rows.ReplaceRows(mid, 1, std::string(model.rows.RowText(mid)));
        model.rows.UndoObj().Clear();
        state.ResumeTiming();

        const std::vector<double> type = TimeEach(n, [&](int) {
            std::string row(model.rows.RowText(mid));
            row.insert(row.size() / 2 & ~std::size_t{1}, 1, 'x');
            if (model.rows.RowEnd(mid) == reLineBreak) row += "\r\n";
            model.rows.ReplaceRows(mid, 1, row);
        });
        const std::vector<double> undoType = TimeEach(n, [&](int) { model.rows.Undo(); });
        const std::vector<double> enter = TimeEach(n, [&](int) {
            std::string row(model.rows.RowText(mid));
            const std::size_t cut = row.size() / 2 & ~std::size_t{1};
            std::string text = row.substr(0, cut) + "\r\n" + row.substr(cut);
            if (model.rows.RowEnd(mid) == reLineBreak) text += "\r\n";
            model.rows.ReplaceRows(mid, 1, text);
        });
        const std::vector<double> undoEnter = TimeEach(n, [&](int) { model.rows.Undo(); });

        state.counters["type_median_us"] = Percentile(type, 0.5);
        state.counters["enter_median_us"] = Percentile(enter, 0.5);
        state.counters["undo_type_median_us"] = Percentile(undoType, 0.5);
        state.counters["undo_enter_median_us"] = Percentile(undoEnter, 0.5);
        if (wrap) {
            g.typeOn = Percentile(type, 0.5);
            g.enterOn = Percentile(enter, 0.5);
            g.undoTypeOn = Percentile(undoType, 0.5);
            g.undoEnterOn = Percentile(undoEnter, 0.5);
        } else {
            g.typeOff = Percentile(type, 0.5);
            g.enterOff = Percentile(enter, 0.5);
            g.undoTypeOff = Percentile(undoType, 0.5);
            g.undoEnterOff = Percentile(undoEnter, 0.5);
            g.p99TypeOff = Percentile(type, 0.99);
            g.p99EnterOff = Percentile(enter, 0.99);
            g.p99UndoTypeOff = Percentile(undoType, 0.99);
            g.p99UndoEnterOff = Percentile(undoEnter, 0.99);
        }
    }
}

void BM_EditsInTheMiddle_WrapOff(benchmark::State& state) {
    Edits(state, false);
}
void BM_EditsInTheMiddle_WrapOn(benchmark::State& state) {
    Edits(state, true);
}

void BM_SwitchWordWrapOn(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto model = std::make_unique<TModel>(false);
        model->lines.SetTextStr(Text());
        state.ResumeTiming();
        const auto t0 = Clock::now();
        model->rows.SetWordWrap(true);
        const double s = Seconds(Clock::now() - t0);
        state.SetIterationTime(s);
        g.wrapOn.push_back(s);
        state.counters["rows"] = model->rows.Count();
        state.PauseTiming();
        model.reset();
        state.ResumeTiming();
    }
}

// ---- Typing next to long lines and deep in large texts

// One typed byte as the editor types it: the caret's row is rebuilt with the byte at `at` (and the row's line
// break) and replaces that row.
void TypeByte(TEditorScreenStrings& rows, int row, std::size_t at, char c) {
    const std::string_view line = rows.RowText(row);
    at = std::min(at, line.size());
    std::string block(line.substr(0, at));
    block += c;
    block.append(line.substr(at));
    if (rows.RowEnd(row) == reLineBreak) block += "\r\n";
    rows.ReplaceRows(row, 1, block);
}

// The logical line of a row as the left bar finds it for its first painted row (TEditor::LineIndexOfRow).
int LeftbarLineIndex(const TEditorScreenStrings& rows, int row) {
    return rows.LineOfRow(row);
}

// A line of `bytes` bytes of the generated words (Japanese and ASCII mixed), without line breaks.
std::string LongLine(std::size_t bytes) {
    std::string line;
    line.reserve(bytes + 64);
    const std::string& text = Text();
    for (std::size_t pos = 0; line.size() < bytes;) {
        const std::size_t brk = text.find("\r\n", pos);
        line.append(text, pos, brk - pos);
        line += ' ';
        pos = brk + 2 < text.size() ? brk + 2 : 0;
    }
    line.resize(bytes);
    // Never end inside a two-byte character.
    while (!line.empty() && (static_cast<unsigned char>(line.back()) >= 0x80)) line.pop_back();
    return line;
}

std::string ShortLines(int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += "short line " + std::to_string(i) + "\r\n";
    return out;
}

struct TTyping {
    double medianUs = 0, p99Us = 0, undoBytesPerByte = 0;
};
std::map<std::string, TTyping> gTyping;
double gPutUs = 0, gPutP99Us = 0;

// Types `n` bytes at (row, at) of a model; op(i) is called after each byte (the repaint's own lookups).
template <class After>
void TypeBytes(benchmark::State& state, const char* name, TModel& model, int row, std::size_t at,
               After&& after) {
    const int n = Small() ? 20 : 200;
    TEditorUndoObj& undo = model.rows.UndoObj();
    // The undo memory: bytes allocated while typing that the rows themselves do not hold, over as many typed
    // bytes as the default capacity keeps.
    const int measured = std::min(n, undo.Capacity());
    const std::size_t heap0 = AllocatedBytes();
    const std::size_t rows0 = model.rows.HeapBytes();
    for (int i = 0; i < measured; ++i) TypeByte(model.rows, row, at, 'x');
    const double undoBytes = static_cast<double>(AllocatedBytes() - heap0) -
                             (static_cast<double>(model.rows.HeapBytes()) - static_cast<double>(rows0));
    for (auto _ : state) {
        const std::vector<double> us = TimeEach(n, [&](int) {
            TypeByte(model.rows, row, at, 'x');
            after();
        });
        TTyping& t = gTyping[name];
        t.medianUs = Percentile(us, 0.5);
        t.p99Us = Percentile(us, 0.99);
        t.undoBytesPerByte = undoBytes / measured;
        state.counters["median_us"] = t.medianUs;
        state.counters["p99_us"] = t.p99Us;
        state.counters["undo_bytes_per_byte"] = t.undoBytesPerByte;
    }
}

void BM_TypeAboveA4MiBLine_WrapOff(benchmark::State& state) {
    TModel model(false);
    const int above = 1000;
    model.lines.SetTextStr(ShortLines(above) + LongLine(Small() ? (256u << 10) : (4u << 20)) + "\r\n" +
                           ShortLines(1000));
    const int row = above - 1;
    TypeBytes(state, "above a 4 MiB line, wrap off", model, row, model.rows.RowText(row).size(), [] {});
}

void BM_TypeAtTheStartOfA2MBWrappedLine(benchmark::State& state) {
    TModel model(true);
    model.lines.SetTextStr(ShortLines(10) + LongLine(Small() ? 200000 : 2200000) + "\r\n" + ShortLines(10));
    const int row = model.lines.LineToRow(10);
    TypeBytes(state, "start of a 2.2 MB wrapped line", model, row, 10, [] {});
}

void BM_TypeAtLine999000_WrapOn(benchmark::State& state) {
    TModel model(true);
    model.lines.SetTextStr(Text());
    const int line = LineCount() - LineCount() / 1000;
    const int row = model.lines.LineToRow(line);
    const int top = std::max(0, row - 20);
    model.host.SetTopRowDirect(top);
    model.rows.ScanFrom(top, false);  // what the painter does for the rows it shows there
    int sink = 0;
    TypeBytes(state, "line 999,000 of 1,000,000, wrap on", model, row, 10,
              [&] { sink += LeftbarLineIndex(model.rows, top); });
    benchmark::DoNotOptimize(sink);
}

void BM_PutEveryLine_WrapOn(benchmark::State& state) {
    const int n = Small() ? 2000 : 20000;
    for (auto _ : state) {
        state.PauseTiming();
        TModel model(true);
        std::string text;
        for (int i = 0; i < n; ++i)
            text += (i % 8 == 7 ? std::string(120, 'w') : "line " + std::to_string(i)) + "\r\n";
        model.lines.SetTextStr(text);
        state.ResumeTiming();
        const std::vector<double> us =
            TimeEach(n, [&](int i) { model.lines.Put(i, "put " + std::to_string(i)); });
        gPutUs = Percentile(us, 0.5);
        gPutP99Us = Percentile(us, 0.99);
        state.counters["median_us"] = gPutUs;
        state.counters["p99_us"] = gPutP99Us;
    }
}

double Median(const std::vector<double>& v) {
    return Percentile(v, 0.5);
}

void PrintSummary() {
    const double qt = Median(g.qt);
    std::printf("\n== editor model, %d lines, %.1f MB\n", LineCount(),
                static_cast<double>(Text().size()) / 1e6);
    std::printf("SetTextStr wrap off     %9.1f ms  (%lld rows)  ratio to QPlainTextEdit %.3f\n",
                Median(g.setOff) * 1e3, g.rowsOff, qt > 0 ? Median(g.setOff) / qt : 0.0);
    std::printf("SetTextStr wrap on (80) %9.1f ms  (%lld rows)  ratio to QPlainTextEdit %.3f\n",
                Median(g.setOn) * 1e3, g.rowsOn, qt > 0 ? Median(g.setOn) / qt : 0.0);
    std::printf("QPlainTextEdit::setPlainText %6.1f ms\n", qt * 1e3);
    std::printf("switch word wrap on     %9.1f ms\n", Median(g.wrapOn) * 1e3);
    std::printf("LoadFromFile wrap off   %9.1f ms\n", Median(g.load) * 1e3);
    std::printf("wrap off: type byte median %.2f us (p99 %.2f), Enter %.2f us (p99 %.2f)\n", g.typeOff,
                g.p99TypeOff, g.enterOff, g.p99EnterOff);
    std::printf("          undo byte median %.2f us (p99 %.2f), undo Enter %.2f us (p99 %.2f)\n",
                g.undoTypeOff, g.p99UndoTypeOff, g.undoEnterOff, g.p99UndoEnterOff);
    std::printf("wrap on:  type byte median %.2f us, Enter %.2f us, undo byte %.2f us, undo Enter %.2f us\n",
                g.typeOn, g.enterOn, g.undoTypeOn, g.undoEnterOn);
    std::printf(
        "memory held by rows / text bytes: wrap off %.2f (requested %.2f), wrap on %.2f (requested %.2f)\n",
        g.memOff, g.heapOff, g.memOn, g.heapOn);
    for (const auto& [name, t] : gTyping)
        std::printf("typing %-36s median %9.2f us (p99 %9.2f), undo %10.0f bytes a typed byte\n",
                    name.c_str(), t.medianUs, t.p99Us, t.undoBytesPerByte);
    std::printf("Put every line (wrap on): median %.2f us (p99 %.2f)\n", gPutUs, gPutP99Us);
}

}  // namespace

BENCHMARK(BM_SetTextStr_WrapOff)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SetTextStr_WrapOn)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LoadFromFile_WrapOff)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_QPlainTextEdit_setPlainText)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SwitchWordWrapOn)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_EditsInTheMiddle_WrapOff)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_EditsInTheMiddle_WrapOn)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_TypeAboveA4MiBLine_WrapOff)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_TypeAtTheStartOfA2MBWrappedLine)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_TypeAtLine999000_WrapOn)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_PutEveryLine_WrapOn)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    PrintSummary();
    return 0;
}
