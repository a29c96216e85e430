// Model-based random test of the row list: random ReplaceRows calls (Japanese text, line breaks, TABs,
// now and then a line long enough for many rows), line operations, undo, redo, word-wrap and wrap-option
// switches and painter rescans, each checked against a plain reference copy of the text; every undo and
// redo must also bring back exactly the rows (texts and row ends) that were there.
//
// VELLORIA_RANDOM_STEPS sets the number of steps per run (default 3000), VELLORIA_RANDOM_SEED the first
// seed (default fixed, so CI always runs the same sequences); VELLORIA_RANDOM_TRACE prints each step.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>

#include "editor/support/FakeEditorHost.h"
#include "editor/support/RowsTestUtil.h"
#include "editor/options/EditorBracketCollection.h"
#include "editor/scan/EditorParser.h"
#include "editor/rows/EditorScreenStrings.h"
#include "editor/rows/EditorStrings.h"
#include "editor/rows/EditorUndoObj.h"
#include "editor/options/EditorViewInfo.h"
#include "editor/wrap/EditorWrapOption.h"
#include "text/ShiftJis.h"

using namespace rowtest;

namespace {

long EnvNumber(const char* name, long fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::strtol(value, nullptr, 10) : fallback;
}

bool EndsWithBreak(const std::string& s) {
    return s.size() >= 2 && s.compare(s.size() - 2, 2, "\r\n") == 0;
}

// Checks every change record the editor receives.
struct TCheckingHost : TFakeEditorHost {
    const TEditorScreenStrings* rows = nullptr;
    int badRecords = 0;
    void StringsChanged() override {
        ++changes;
        const TChangeRecord& c = rows->ChangeRecord();
        if (c.Pending &&
            (c.FirstRow < 0 || c.FirstRow + c.InsertedCount > rows->Count() || c.RemovedCount < 0))
            ++badRecords;
    }
};

class TRandomRun {
public:
    explicit TRandomRun(unsigned seed) : FRng(seed) {
        host.rows = &rows;
        host.displayHeight = 60;  // scan depth 2 * 4 rows: unscanned rows are common
        host.view.Brackets().Add("(*", "*)");
        host.view.Brackets().Add(kKakko, kKakkoEnd);
        host.view.SetCommenter("//");
        host.view.SetQuotation("\"");
        host.view.SetUrl(true);
        host.view.SetMail(true);
        host.view.SetHexPrefix("0x");
        host.view.SetControlCode(true);
        rows.AddEditor(&host, host.Options());
        rows.UndoObj().SetCapacity(1 << 30);
        ResetHistory();
    }

    void Run(int steps) {
        for (int step = 0; step < steps; ++step) {
            FStep = step;
            Step();
            if (FTrace) std::fprintf(stderr, "%d: %s%s\n", step, FLastOp.c_str(), DumpRows().c_str());
            Check();
            if (::testing::Test::HasFatalFailure()) return;
        }
        // Undoing everything restores the text of the last clear; redoing everything the last text.
        while (rows.UndoObj().CanUndo()) rows.Undo();
        ASSERT_EQ(Text(rows), FHistory.front()) << "after undoing everything";
        ASSERT_EQ(Dump(rows), FShapes.front()) << "after undoing everything";
        CheckStructure();
        while (rows.UndoObj().CanRedo()) rows.Redo();
        ASSERT_EQ(Text(rows), FHistory.back()) << "after redoing everything";
        ASSERT_EQ(Dump(rows), FShapes.back()) << "after redoing everything";
        CheckStructure();
        EXPECT_EQ(host.badRecords, 0);
        EXPECT_EQ(host.caretHidden, 0);
    }

    TEditorScreenStrings rows;
    TCheckingHost host;
    TEditorStrings lines{rows, &host};

private:
    int Rand(int n) { return n <= 0 ? 0 : static_cast<int>(FRng() % static_cast<unsigned>(n)); }

    std::string RandomText() {
        static const std::vector<std::string> pieces = {
            "a",
            "abc",
            "x_1",
            " ",
            "  ",
            "\t",
            "\t",
            "123",
            "3.14e-5",
            "0x1F",
            "#65",
            kA,
            kA + kA,
            kKan,
            kKan + kA,
            kTouten,
            kKuten,
            kKakko,
            kKakkoEnd,
            "\x83\x4A",
            "\xB1\xB2",
            "\xA4",
            "(*",
            "*)",
            "//",
            "\"",
            "if",
            "http://x.jp/a?b=1",
            "mail@host.jp",
            "(",
            "),",
            "\r\n",
            "\r\n",
            "\n",
            "\r",
            "\x82",
        };
        std::string text;
        const int n = Rand(7);
        for (int i = 0; i < n; ++i)
            text += pieces[static_cast<std::size_t>(Rand(static_cast<int>(pieces.size())))];
        if (Rand(8) == 0) text += Repeat(Rand(2) ? "a" : kKan, 20 + Rand(120));  // long enough to wrap
        if (Rand(10) == 0) text += Repeat("w ", 10 + Rand(60));
        if (Rand(40) == 0) {  // a line of many rows, so that re-wrapping can stop inside it
            const std::string piece =
                pieces[static_cast<std::size_t>(Rand(static_cast<int>(pieces.size()) - 5))];
            text += Repeat(piece + kKan + "ab", 50 + Rand(300));
        }
        if (Rand(6) == 0) {  // a block of lines
            const int lines = 3 + Rand(20);
            for (int i = 0; i < lines; ++i) {
                for (int k = Rand(5); k > 0; --k)
                    text += pieces[static_cast<std::size_t>(Rand(static_cast<int>(pieces.size())))];
                text += "\r\n";
            }
        }
        return text;
    }

    // Offset of row r in the logical text.
    int RowOffset(int r) const {
        int offset = 0;
        for (int k = 0; k < r; ++k)
            offset += static_cast<int>(rows.RowText(k).size()) + (rows.RowEnd(k) == reLineBreak ? 2 : 0);
        return offset;
    }

    void Edited() {
        FHistory.resize(FPos + 1);
        FHistory.push_back(FRef);
        FShapes.resize(FPos + 1);
        FShapes.push_back(Dump(rows));
        ++FPos;
    }
    void ResetHistory() {
        FHistory = {FRef};
        FShapes = {Dump(rows)};
        FPos = 0;
    }

    // Start and end (without the line break) of logical line i in the reference; false past the end.
    bool RefLine(int i, std::size_t& start, std::size_t& end) const {
        std::size_t pos = 0;
        for (int k = 0;; ++k) {
            if (pos >= FRef.size()) return false;
            const std::size_t brk = FRef.find("\r\n", pos);
            if (k == i) {
                start = pos;
                end = brk == std::string::npos ? FRef.size() : brk;
                return true;
            }
            if (brk == std::string::npos) return false;
            pos = brk + 2;
        }
    }

    void Step() {
        const int op = Rand(100);
        FLastOp = "other " + std::to_string(op);
        const int n = rows.Count();
        if (op < 45) {
            const int a = Rand(n + 1);
            int count = Rand(std::min(n - a, 4) + 1);
            if (FRef.size() > 6000 && n - a > 0) count = std::max(count, 1 + Rand(std::min(n - a, 30)));
            std::string text = FRef.size() > 6000 ? std::string() : RandomText();
            if (count == 0 && text.empty()) text = "z";
            const int start = RowOffset(a);
            const int end = RowOffset(a + count);
            FRef = FRef.substr(0, static_cast<std::size_t>(start)) + NormalizeBreaks(text) +
                   FRef.substr(static_cast<std::size_t>(end));
            FLastOp = "ReplaceRows " + std::to_string(a) + " " + std::to_string(count) + " [" + text + "]";
            rows.ReplaceRows(a, count, text);
            Edited();
        } else if (op < 53) {
            LineOperation();
        } else if (op < 68) {
            if (rows.UndoObj().CanUndo()) {
                ASSERT_GT(FPos, 0u);
                FLastOp = "Undo";
                rows.Undo();
                FRef = FHistory[--FPos];
                ASSERT_EQ(Dump(rows), FShapes[FPos]) << Where();
            }
        } else if (op < 78) {
            if (rows.UndoObj().CanRedo()) {
                ASSERT_LT(FPos + 1, FHistory.size());
                FLastOp = "Redo";
                rows.Redo();
                FRef = FHistory[++FPos];
                ASSERT_EQ(Dump(rows), FShapes[FPos]) << Where();
            }
        } else if (op < 82) {
            rows.SetWordWrap(!rows.WordWrap());
            ResetHistory();
        } else if (op < 86) {
            TEditorWrapOption& o = rows.WrapOption();
            switch (Rand(5)) {
                case 0:
                    o.SetWrapByte(std::vector<int>{20, 21, 27, 40, 80}[static_cast<std::size_t>(Rand(5))]);
                    break;
                case 1:
                    o.SetLeading(!o.Leading());
                    break;
                case 2:
                    o.SetWordBreak(!o.WordBreak());
                    break;
                case 3:
                    o.SetFollowPunctuation(!o.FollowPunctuation());
                    break;
                default:
                    o.SetFollowRetMark(!o.FollowRetMark());
                    break;
            }
            // A real change re-wraps and clears the undo store (setting an equal value changes nothing).
            if (rows.WordWrap() && !rows.UndoObj().CanUndo() && !rows.UndoObj().CanRedo()) ResetHistory();
        } else if (op < 94) {
            if (n > 0) rows.ScanFrom(Rand(n), false);  // what the painter does for an unscanned row
            host.topRow = Rand(n + 1);
        } else if (op < 96) {
            std::string text;
            for (int k = 1 + Rand(8); k > 0; --k) text += RandomText() + "\r\n";
            lines.SetTextStr(text);
            FRef = NormalizeBreaks(text);
            if (!FRef.empty() && !EndsWithBreak(FRef)) FRef += "\r\n";
            ResetHistory();
        } else {
            // Typing at the end of a text that has no final line break.
            if (n > 0) {
                std::string text(rows.RowText(n - 1));
                text += "q";
                FRef = FRef.substr(0, static_cast<std::size_t>(RowOffset(n - 1))) + NormalizeBreaks(text);
                rows.ReplaceRows(n - 1, 1, text);
                Edited();
            }
        }
    }

    void LineOperation() {
        const int count = lines.GetCount();
        std::string s = RandomText();
        s.erase(std::remove_if(s.begin(), s.end(), [](char c) { return c == '\r' || c == '\n'; }), s.end());
        const int i = Rand(count + 1);
        std::size_t start = 0, end = 0;
        const bool exists = RefLine(i, start, end);
        FLastOp = "line op " + std::to_string(i) + " [" + s + "]";
        switch (Rand(4)) {
            case 0:  // Put
                if (!exists) return;
                FRef.replace(start, end - start, s);
                lines.Put(i, s);
                break;
            case 1:  // Insert
                if (exists) {
                    FRef.insert(start, s + "\r\n");
                    lines.Insert(i, s);
                    break;
                }
                [[fallthrough]];
            case 2:  // Add
                if (!FRef.empty() && !EndsWithBreak(FRef))
                    FRef += "\r\n" + s;
                else if (rows.Count() > 0 && rows.RowEnd(rows.Count() - 1) != reLineBreak)
                    FRef += "\r\n" + s;  // an empty last row without line break
                else
                    FRef += s + "\r\n";
                lines.Add(s);
                break;
            default:  // Delete
                if (!exists) return;
                FRef.erase(start, end - start + (end < FRef.size() ? 2 : 0));
                lines.Delete(i);
                break;
        }
        Edited();
    }

    void CheckStructure() {
        const int n = rows.Count();
        int lineBreaks = 0;
        for (int r = 0; r < n; ++r) lineBreaks += rows.RowEnd(r) == reLineBreak;
        ASSERT_EQ(rows.LineBreakRows(), lineBreaks) << Where();
        for (int r = 0; r + 1 < n; ++r)
            ASSERT_NE(rows.RowEnd(r), reEndOfText) << "reEndOfText on row " << r << " of " << n << Where();
        if (!rows.WordWrap()) {
            for (int r = 0; r + 1 < n; ++r) ASSERT_NE(rows.RowEnd(r), reWrapped) << Where();
        }
        // No row of a wrapped line ends inside a two-byte character.
        for (int r = 0; r < n;) {
            const int last = rows.LineLastRow(r);
            std::string line;
            std::vector<std::size_t> cuts;
            for (int k = r; k <= last; ++k) {
                line += rows.RowText(k);
                cuts.push_back(line.size());
            }
            for (std::size_t cut : cuts) {
                ASSERT_TRUE(sjis::IsCharBoundary(line, cut))
                    << "row cut in a character, line at row " << r << DumpRows() << Where();
            }
            r = last + 1;
        }
        // Stored states equal a fresh scan of the rows above them.
        int kind = tokNone, bracket = kBracketNone;
        for (int r = 0; r < n; ++r) {
            if (rows.RowBracket(r) != kBracketNotScanned) {
                ASSERT_EQ(rows.RowBracket(r), bracket) << "row " << r << Where();
                ASSERT_EQ(rows.RowEntryKind(r), kind) << "row " << r << Where();
            } else {
                ASSERT_EQ(rows.RowEntryKind(r), 0) << Where();
            }
            rows.ScanRow(r, kind, bracket);
        }
    }

    void Check() {
        ASSERT_EQ(Text(rows), FRef) << DumpRows() << Where();
        ASSERT_EQ(lines.GetTextStr(), FRef) << Where();
        CheckStructure();
    }

    std::string DumpRows() const {
        std::string out = "\n";
        for (int r = 0; r < rows.Count(); ++r) {
            out += std::to_string(r) + " " + "LWEN"[rows.RowEnd(r) & 3] + " ";
            for (unsigned char c : rows.RowText(r)) {
                char buf[8];
                std::snprintf(buf, sizeof buf, c >= 0x20 && c < 0x7F ? "%c" : "<%02X>", c);
                out += buf;
            }
            out += "\n";
        }
        return out;
    }

    std::string Where() const {
        return " (step " + std::to_string(FStep) + ", " + FLastOp + ", wrap " +
               (rows.WordWrap() ? "on" : "off") + ")";
    }

    std::mt19937 FRng;
    std::string FRef;
    std::vector<std::string> FHistory;
    std::vector<std::vector<std::string>> FShapes;  // the rows (Dump) at each point of FHistory
    std::size_t FPos = 0;
    int FStep = 0;
    std::string FLastOp;
    const bool FTrace = std::getenv("VELLORIA_RANDOM_TRACE") != nullptr;  // print every step and the rows
};

}  // namespace

TEST(RandomEdit, RowsFollowAPlainReferenceText) {
    const int steps = static_cast<int>(EnvNumber("VELLORIA_RANDOM_STEPS", 3000));
    const unsigned seed = static_cast<unsigned>(EnvNumber("VELLORIA_RANDOM_SEED", 20261208));
    for (unsigned run = 0; run < 4; ++run) {
        SCOPED_TRACE("seed " + std::to_string(seed + run));
        TRandomRun random(seed + run);
        random.Run(steps);
        if (HasFatalFailure()) return;
    }
}
