// Renders a full viewport of 60 rows x 160 columns of coloured text (URLs, mail addresses, numbers,
// Japanese) after scrolling one page, many times: TEditor with its left bar and ruler against a
// QPlainTextEdit showing the same text in the same viewport with the same colours. Prints the ratio of
// the medians. Runs offscreen; VELLORIA_BENCH_SMALL=1 makes a small text and few repetitions.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSyntaxHighlighter>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <random>
#include <string>

#include "editor/options/EditorColor.h"
#include "editor/widget/Editor.h"
#include "gui/FontSubstitutes.h"
#include "app/gui/MainWindowSettings.h"
#include "gui/SystemColors.h"
#include "text/SjisCodec.h"

namespace {

constexpr int kRows = 60;
constexpr int kCols = 160;

bool Small() {
    return std::getenv("VELLORIA_BENCH_SMALL") != nullptr;
}

// Colours of the token classes, used by both controls.
const QColor kUrl(0, 0, 220);
const QColor kMail(0, 130, 0);
const QColor kNumber(180, 0, 0);
const QColor kWide(90, 40, 0);

TColor ToNumber(const QColor& c) {
    return RgbColor(c.red(), c.green(), c.blue());
}

// Lines of about 170 columns mixing Japanese, ASCII words, numbers, URLs and mail addresses.
std::string MakeText(int lines) {
    static const char* const kJapanese[] = {"日本語の文章",   "ひらがな", "カタカナ", "漢字交じり",
                                            "全角ＡＢＣ",     "、",       "。",       "「引用」",
                                            "東京都千代田区", "半角ｶﾅ"};
    static const char* const kAscii[] = {"alpha", "beta", "gamma", "delta", "item_42", "value", "x"};
    std::mt19937 random(12345);
    std::string text;
    for (int i = 0; i < lines; ++i) {
        std::string line;
        while (line.size() < 170) {
            switch (random() % 6) {
                case 0:
                    line += "http://www.example.com/page" + std::to_string(random() % 1000) + ".html";
                    break;
                case 1:
                    line += "user" + std::to_string(random() % 100) + "@example.co.jp";
                    break;
                case 2:
                    line += std::to_string(random() % 100000) + "." + std::to_string(random() % 100);
                    break;
                case 3:
                    line += kAscii[random() % 7];
                    break;
                default:
                    line += SjisCodec::FromUnicode(QString::fromUtf8(kJapanese[random() % 10]));
                    break;
            }
            line += ' ';
        }
        text += line + "\r\n";
    }
    return text;
}

const std::string& Text() {
    static const std::string text = MakeText(Small() ? 600 : 6000);
    return text;
}

QFont EditorFont() {
    QFont font(QStringLiteral("ＭＳ ゴシック"));
    font.setPixelSize(12);
    return font;
}

// The same colouring for the peer, by regular expressions over each block.
class Highlighter : public QSyntaxHighlighter {
public:
    explicit Highlighter(QTextDocument* doc) : QSyntaxHighlighter(doc) {
        const auto format = [](const QColor& c) {
            QTextCharFormat f;
            f.setForeground(c);
            return f;
        };
        FRules = {
            {QRegularExpression(QStringLiteral("[\\x{3000}-\\x{9FFF}\\x{FF00}-\\x{FFEF}]+")), format(kWide)},
            {QRegularExpression(QStringLiteral("\\b[0-9]+(\\.[0-9]+)?")), format(kNumber)},
            {QRegularExpression(QStringLiteral("[A-Za-z0-9._-]+@[A-Za-z0-9.-]+")), format(kMail)},
            {QRegularExpression(QStringLiteral("http://[A-Za-z0-9./?=_%:-]+")), format(kUrl)}};
    }

protected:
    void highlightBlock(const QString& text) override {
        for (const auto& [re, fmt] : FRules) {
            for (auto it = re.globalMatch(text); it.hasNext();) {
                const auto m = it.next();
                setFormat(static_cast<int>(m.capturedStart()), static_cast<int>(m.capturedLength()), fmt);
            }
        }
    }

private:
    std::vector<std::pair<QRegularExpression, QTextCharFormat>> FRules;
};

// VELLORIA_BENCH_SAVE=DIR saves the last picture of each control there, for a look.
void SaveIfAsked(const QImage& image, const char* name) {
    const QByteArray dir = qgetenv("VELLORIA_BENCH_SAVE");
    if (!dir.isEmpty())
        image.save(QStringLiteral("%1/bench-%2.png").arg(QString::fromLocal8Bit(dir), QLatin1String(name)));
}

struct EditorFixture {
    TEditor editor;
    QImage image;
    EditorFixture() {
        ApplyMainWindowSettings(editor);
        editor.SetBorderStyle(bsNone);
        editor.SetScrollBars(ssNone);
        TEditorColors& colors = editor.View().Colors();
        colors.Url().SetColor(ToNumber(kUrl));
        colors.Mail().SetColor(ToNumber(kMail));
        colors.Int().SetColor(ToNumber(kNumber));
        colors.DBCS().SetColor(ToNumber(kWide));
        editor.SetText(Text());
        editor.show();
        // The text area: 60 whole rows and 160 whole columns.
        const int width = editor.TextLeft() + kCols * editor.CharWidth() + editor.CharWidth() / 2;
        const int height = editor.TextTop() + kRows * editor.RowHeight();
        editor.resize(width, height);
        QApplication::processEvents();
        image = QImage(editor.viewport()->size(), QImage::Format_RGB32);
    }
};

struct PeerFixture {
    QPlainTextEdit edit;
    QImage image;
    PeerFixture() {
        edit.setFont(EditorFont());
        edit.setLineWrapMode(QPlainTextEdit::NoWrap);
        edit.setFrameShape(QFrame::NoFrame);
        edit.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        edit.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        edit.document()->setDocumentMargin(0);
        new Highlighter(edit.document());
        edit.setPlainText(SjisCodec::ToUnicode(Text()));
        edit.show();
        const QFontMetrics fm(edit.font());
        edit.resize(kCols * fm.averageCharWidth(), kRows * fm.lineSpacing());
        QApplication::processEvents();
        image = QImage(edit.viewport()->size(), QImage::Format_RGB32);
    }
};

// Made on first use and freed before the application object goes.
std::unique_ptr<EditorFixture> gEditor;
std::unique_ptr<PeerFixture> gPeer;

void BM_TEditorPageAndPaint(benchmark::State& state) {
    if (!gEditor) gEditor = std::make_unique<EditorFixture>();
    EditorFixture& f = *gEditor;
    TEditor& e = f.editor;
    for (auto _ : state) {
        if (e.TopRow() + 2 * e.VisibleRows() > e.LineCount()) {
            e.SetTopRow(0);
        } else {
            e.VScroll(sbPageDown);
        }
        f.image.fill(Qt::black);
        e.viewport()->render(&f.image);
        benchmark::DoNotOptimize(f.image.constBits());
    }
    SaveIfAsked(f.image, "teditor");
    state.counters["rows"] = e.VisibleRows();
    state.counters["cols"] = e.VisibleCols();
}

void BM_QPlainTextEditPageAndPaint(benchmark::State& state) {
    if (!gPeer) gPeer = std::make_unique<PeerFixture>();
    PeerFixture& f = *gPeer;
    QScrollBar* bar = f.edit.verticalScrollBar();
    for (auto _ : state) {
        if (bar->value() + 2 * kRows > bar->maximum()) {
            bar->setValue(0);
        } else {
            bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
        }
        f.image.fill(Qt::black);
        f.edit.viewport()->render(&f.image);
        benchmark::DoNotOptimize(f.image.constBits());
    }
    SaveIfAsked(f.image, "qplaintextedit");
}

// Keeps the median of every benchmark so that the ratio can be printed at the end.
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

BENCHMARK(BM_TEditorPageAndPaint)->Unit(benchmark::kMicrosecond)->Repetitions(Small() ? 3 : 15);
BENCHMARK(BM_QPlainTextEditPageAndPaint)->Unit(benchmark::kMicrosecond)->Repetitions(Small() ? 3 : 15);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    RegisterFontSubstitutes();
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto ours = reporter.medians.find("BM_TEditorPageAndPaint");
    const auto peer = reporter.medians.find("BM_QPlainTextEditPageAndPaint");
    if (ours != reporter.medians.end() && peer != reporter.medians.end() && peer->second > 0) {
        std::printf("median TEditor %.1f us, QPlainTextEdit %.1f us, ratio %.2f (target <= 1)\n",
                    ours->second, peer->second, ours->second / peer->second);
    }
    std::fflush(stdout);
    gEditor.reset();
    gPeer.reset();
    benchmark::Shutdown();
    return 0;
}
