// The strings printer on a generated Japanese document of about 10 MB (200,000 lines, some of them long
// enough to wrap, some with tabs), one column with line numbers on A4, the main window's margins and the
// editor's default font (9 points): the layout into pictures (pages per second, and half the text to check
// that the time grows linearly), the time until the preview shows its first page, and printing to a PDF file
// (layout, sending the pages, and the crash-safe copy over the target). Prints the medians and the ratios at
// the end. Runs offscreen; VELLORIA_BENCH_SMALL=1 makes 2,000 lines and few repetitions.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFileInfo>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "base/Strings.h"
#include "gui/FontSubstitutes.h"
#include "printing/FormStrPreview.h"
#include "printing/MetaFileList.h"
#include "printing/StringsPrinter.h"
#include "text/SjisCodec.h"

namespace {

bool Small() {
    const char* v = std::getenv("VELLORIA_BENCH_SMALL");
    return v && *v && std::strcmp(v, "0") != 0;
}

int FullLines() {
    return Small() ? 2000 : 200000;
}

std::vector<std::string> MakeLines(int count) {
    static const char* const kWords[] = {"日本語の文章", "ひらがな", "カタカナ",   "漢字交じり", "全角ＡＢＣ",
                                         "、",           "。",       "「引用」",   "東京都",     "半角ｶﾅ",
                                         "会議の記録",   "見積もり", "来週の予定", "お知らせ",   "資料"};
    static const char* const kAscii[] = {"alpha", "beta", "item_42", "2024-04-08", "10:30", "x"};
    std::vector<std::string> words;
    for (const char* w : kWords) words.push_back(SjisCodec::FromUnicode(QString::fromUtf8(w)));
    std::mt19937 random(20240408);
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const unsigned kind = random() % 100;
        std::size_t length = 10 + random() % 80;  // about 50 bytes on average
        if (kind < 3) length = 0;                 // empty lines
        if (kind >= 98) length = 300;             // long lines that wrap
        std::string line;
        if (kind >= 3 && kind < 8) line += '\t';
        while (line.size() < length) {
            if (random() % 5 == 0) {
                line += kAscii[random() % 6];
                line += ' ';
            } else {
                line += words[random() % words.size()];
            }
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

struct TFixture {
    QTemporaryDir Dir;
    TStringsPrinter Printer;
    std::map<int, std::unique_ptr<TStringList>> Texts;

    TFixture() {
        Printer.SetDocumentDefaults();
        QFont font(QStringLiteral("ＭＳ ゴシック"));
        font.setPointSize(9);
        Printer.SetFont(font);
        Printer.SetLineNumber(true);
        Printer.SetFileName(QStringLiteral("/home/user/bench.vlt"));
        Printer.SetHeader(
            TStringsPrinter::DocumentHeader(SjisCodec::FromUnicode(QStringLiteral("大きな文書"))));
        Printer.SetFooter("%p");
        QPrinter& p = Printer.Printer();
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(Dir.filePath(QStringLiteral("bench.pdf")));
        p.setPageSize(QPageSize(QPageSize::A4));
    }

    const TStringList& Text(int lines) {
        auto& slot = Texts[lines];
        if (!slot) slot = std::make_unique<TStringList>(MakeLines(lines));
        return *slot;
    }
};

TFixture& Fixture() {
    static TFixture fixture;
    return fixture;
}

double TextMegabytes(const TStringList& text) {
    double bytes = 0;
    for (const std::string& line : text.Lines()) bytes += static_cast<double>(line.size()) + 2;
    return bytes / 1e6;
}

void BM_Layout(benchmark::State& state) {
    TFixture& f = Fixture();
    const TStringList& text = f.Text(static_cast<int>(state.range(0)));
    int pages = 0;
    double pictureBytes = 0;
    for (auto _ : state) {
        TMetaFileList list;
        if (!f.Printer.BuildPages(text, list, QStringLiteral("bench"))) state.SkipWithError("cancelled");
        pages = list.Count();
        state.PauseTiming();
        pictureBytes = 0;
        for (int i = 0; i < list.Count(); ++i) pictureBytes += list[i].size();
        state.ResumeTiming();
    }
    state.counters["pages"] = pages;
    state.counters["picture_MB"] = pictureBytes / 1e6;
    state.counters["pages_per_s"] = benchmark::Counter(pages, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["MB"] = TextMegabytes(text);
}

void BM_FirstPreviewPage(benchmark::State& state) {
    TFixture& f = Fixture();
    const TStringList& text = f.Text(FullLines());
    for (auto _ : state) {
        TMetaFileList list;
        f.Printer.BuildPages(text, list, QStringLiteral("bench"));
        TFormStrPreview preview(f.Printer, list);
        preview.ShowPage(0);
        preview.SetZoom(TFormStrPreview::zmActualSize);
        preview.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(preview.Image1);
    }
}

void BM_PrintPdf(benchmark::State& state) {
    TFixture& f = Fixture();
    const TStringList& text = f.Text(FullLines());
    for (auto _ : state) {
        if (f.Printer.Print(text) != TPrintResult::Printed) {
            state.SkipWithError(f.Printer.LastError().toStdString().c_str());
            break;
        }
    }
    state.counters["pdf_MB"] = QFileInfo(f.Printer.Printer().outputFileName()).size() / 1e6;
}

class MedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                medians[run.run_name.function_name +
                        (run.run_name.args.empty() ? "" : "/" + run.run_name.args)] =
                    run.GetAdjustedRealTime();
                if (run.counters.count("pages")) pages = run.counters.at("pages");
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> medians;
    double pages = 0;
};

int Repetitions() {
    return Small() ? 2 : 5;
}

}  // namespace

BENCHMARK(BM_Layout)
    ->Arg(FullLines() / 2)
    ->Arg(FullLines())
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(Repetitions());
BENCHMARK(BM_FirstPreviewPage)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(Repetitions());
BENCHMARK(BM_PrintPdf)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(Repetitions());

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    RegisterFontSubstitutes();
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto median = [&](const std::string& name) {
        const auto it = reporter.medians.find(name);
        return it == reporter.medians.end() ? 0.0 : it->second;
    };
    const double half = median("BM_Layout/" + std::to_string(FullLines() / 2));
    const double full = median("BM_Layout/" + std::to_string(FullLines()));
    const double preview = median("BM_FirstPreviewPage");
    const double print = median("BM_PrintPdf");
    if (full > 0) {
        std::printf("layout of %d lines: %.0f ms median, %.0f pages/s", FullLines(), full,
                    reporter.pages / (full / 1000.0));
        if (half > 0) std::printf("; half the text %.0f ms, ratio %.2f (target <= 2.2)", half, full / half);
        std::printf("\n");
    }
    if (preview > 0) std::printf("first preview page: %.0f ms\n", preview);
    if (print > 0 && full > 0)
        std::printf("print to PDF: %.0f ms (layout %.0f ms, sending and writing %.0f ms)\n", print, full,
                    print - full);
    std::fflush(stdout);
    benchmark::Shutdown();
    return 0;
}
