// Model-based random test of the caret and selection model: random selections by offsets, by caret moves
// (as Shift with the arrows and the mouse make them) and as boxes, replaced, deleted or typed over, with
// undo, redo, word wrap and caret option switches, each checked against a plain reference copy of the
// text with the same offsets. After every step the caret stands at a character start.
//
// VELLORIA_RANDOM_STEPS sets the number of steps per run (default 3000), VELLORIA_RANDOM_SEED the first
// seed (default fixed); VELLORIA_RANDOM_TRACE prints each step.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>

#include "EditTestSupport.h"
#include "editor/support/RowsTestUtil.h"
#include "editor/wrap/ColumnMap.h"
#include "editor/wrap/EditorWrapOption.h"

using namespace edittest;

namespace {

long EnvNumber(const char* name, long fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::strtol(value, nullptr, 10) : fallback;
}

class TRandomSelectionRun {
public:
    explicit TRandomSelectionRun(unsigned seed) : FRng(seed) {
        SetText("first line\r\n" + rowtest::kA + "\tb\r\n");
    }

    void Run(int steps) {
        for (FStep = 0; FStep < steps; ++FStep) {
            Step();
            if (FTrace) std::fprintf(stderr, "%d: %s\n", FStep, FLastOp.c_str());
            if (::testing::Test::HasFatalFailure()) return;
            Check();
            if (::testing::Test::HasFatalFailure()) return;
        }
        while (f.rows.UndoObj().CanUndo()) f.Undo();
        ASSERT_EQ(f.Text(), FHistory.front()) << "after undoing everything";
    }

private:
    int Rand(int n) { return n <= 0 ? 0 : static_cast<int>(FRng() % static_cast<unsigned>(n)); }

    std::string RandomText() {
        static const std::vector<std::string> pieces = {
            "a",
            "xyz",
            " ",
            "\t",
            rowtest::kA,
            rowtest::kKan + rowtest::kA,
            rowtest::kKuten,
            "\xB1",
            "\r\n",
            "\r\n",
            "\n",
            "\r",
            "\x82",
            "12",
        };
        std::string text;
        for (int n = Rand(5); n > 0; --n)
            text += pieces[static_cast<std::size_t>(Rand(static_cast<int>(pieces.size())))];
        if (Rand(10) == 0) text += rowtest::Repeat(Rand(2) ? "w" : rowtest::kKan, 10 + Rand(40));
        return text;
    }

    void SetText(const std::string& text) {
        f.SetText(text);
        FRef = f.Text();
        FHistory = {FRef};
        FPos = 0;
    }
    void Edited() {
        FHistory.resize(FPos + 1);
        FHistory.push_back(FRef);
        ++FPos;
    }
    std::int64_t Length() const { return static_cast<std::int64_t>(FRef.size()); }
    std::int64_t CaretOffset() const { return f.model.PositionToOffset(f.model.Row(), f.model.CaretByte()); }

    // A random caret move, as keys and the mouse make them.
    void MoveCaret() {
        switch (Rand(4)) {
            case 0:
                f.model.SetRow(f.model.Row() + Rand(7) - 3);
                break;
            case 1:
                f.model.SetCol(f.model.Col() + Rand(9) - 4);
                break;
            case 2:
                f.model.SetRowCol(Rand(f.rows.Count() + 2), Rand(40));
                break;
            default:
                f.model.SetCol(Rand(60));
                break;
        }
    }

    // Replaces, deletes or types over the active selection (or types at the caret) and follows it in the
    // reference, whose selected characters are ref[start, start + length).
    void EditSelection(std::int64_t start, std::int64_t length) {
        std::string text = RandomText();
        const int how = Rand(3);
        const bool selected = f.model.SelAvail();
        if (how == 1 && !selected) return;
        if (how == 1) text.clear();
        // A free caret right of the row's end types after spaces.
        const int pad = selected ? 0 : std::max(0, f.model.Col() - f.model.Columns().Width(f.model.Row()));
        FLastOp += " edit " + std::to_string(how) + " [" + text + "] at " + std::to_string(start) + "+" +
                   std::to_string(length) + (selected ? " selected" : "");
        const int records = f.rows.UndoObj().UndoCount();
        if (how == 0) {
            f.model.SetSelText(text);
        } else if (how == 1) {
            f.model.DeleteSelection();
        } else {
            f.model.InsertText(text);
        }
        if (selected || !text.empty()) {
            const std::string inserted = std::string(static_cast<std::size_t>(pad), ' ') + rowtest::NormalizeBreaks(text);
            FRef = FRef.substr(0, static_cast<std::size_t>(start)) + inserted +
                   FRef.substr(static_cast<std::size_t>(start + length));
            // After the text; a lone lead byte at its end pairs with the next byte, and the caret stands
            // beside that character.
            const std::int64_t after = start + static_cast<std::int64_t>(inserted.size());
            if (CaretPlace(f.rows, after)) {
                ASSERT_EQ(CaretOffset(), after) << "caret after the text" << Where();
            } else {
                ASSERT_EQ(std::abs(CaretOffset() - after), 1) << "caret beside the text" << Where();
            }
        }
        ASSERT_EQ(f.Text(), FRef) << Where();
        EXPECT_FALSE(f.model.SelAvail());
        if (f.rows.UndoObj().UndoCount() != records) Edited();
    }

    // The active stream selection's text is the reference's characters at its offsets.
    void CheckStreamSelection(std::int64_t& start, std::int64_t& length) {
        start = f.model.SelAvail() ? f.model.SelStart() : CaretOffset();
        length = f.model.SelLength();
        ASSERT_LE(start + length, Length()) << Where();
        ASSERT_EQ(f.model.SelText(),
                  FRef.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(length)))
            << Where();
    }

    void BoxEdit() {
        f.model.SetBoxSelectMode(true);
        f.model.SetRowCol(Rand(f.rows.Count() + 1), Rand(30));
        f.model.BeginSelection();
        f.model.SetRowCol(Rand(f.rows.Count() + 1), Rand(30));
        f.model.ExtendSelection();
        const TSelectionColumns box = f.model.SelectionColumns();
        FLastOp = "box " + std::to_string(box.top) + "-" + std::to_string(box.bottom) + " cols " +
                  std::to_string(box.left) + "-" + std::to_string(box.right);
        if (!f.model.SelAvail() || box.top == box.bottom) {
            // One row: a box of one row is a stream selection.
            std::int64_t start = 0, length = 0;
            CheckStreamSelection(start, length);
            if (!::testing::Test::HasFatalFailure()) EditSelection(start, length);
            f.model.SetBoxSelectMode(false);
            return;
        }
        // The expected text: every row of the box without its bytes, the new text on the top row.
        const int n = f.rows.Count();
        const int last = std::min(box.bottom, n - 1);
        std::string selected;
        std::string rebuilt;
        const std::string text = Rand(3) ? RandomText() : std::string();
        for (int r = box.top; r <= last; ++r) {
            const std::string row(f.rows.RowText(r));
            const TByteSpan span = f.model.BoxRowBytes(r);
            ASSERT_TRUE(sjis::IsCharBoundary(row, static_cast<std::size_t>(span.first)) &&
                        sjis::IsCharBoundary(row, static_cast<std::size_t>(span.end)))
                << "box edge inside a character on row " << r << Where();
            const int left = f.model.Columns().ByteToColumn(r, span.first);
            ASSERT_TRUE(span.first == static_cast<int>(row.size()) || left >= box.left) << Where();
            selected +=
                row.substr(static_cast<std::size_t>(span.first), static_cast<std::size_t>(span.Length())) +
                "\r\n";
            rebuilt += row.substr(0, static_cast<std::size_t>(span.first)) +
                       (r == box.top ? rowtest::NormalizeBreaks(text) : "") +
                       row.substr(static_cast<std::size_t>(span.end)) +
                       (f.rows.RowEnd(r) == reLineBreak ? "\r\n" : "");
        }
        ASSERT_EQ(f.model.SelText(), selected) << Where();
        const std::string before = f.rows.RowsText(0, box.top).Text;
        const std::string after = f.rows.RowsText(last + 1, n).Text;
        FLastOp += " [" + text + "]";
        const int records = f.rows.UndoObj().UndoCount();
        f.model.SetSelText(text);
        FRef = before + rebuilt + after;
        ASSERT_EQ(f.Text(), FRef) << Where();
        if (f.rows.UndoObj().UndoCount() != records) Edited();
        f.model.SetBoxSelectMode(false);
    }

    void Step() {
        const int op = Rand(100);
        FLastOp = "op " + std::to_string(op);
        if (op < 30) {
            // A selection by offsets, as SelStart and SelLength set it (find and replace, the edit messages).
            const std::int64_t s = Rand(static_cast<int>(Length()) + 3) - 1;
            const std::int64_t l = Rand(4) == 0 ? Rand(static_cast<int>(Length()) + 3) : Rand(12) - 1;
            FLastOp = "SelStart " + std::to_string(s) + " SelLength " + std::to_string(l);
            f.model.SetSelStart(s);
            f.model.SetSelLength(l);
            std::int64_t start = 0, length = 0;
            CheckStreamSelection(start, length);
            if (f.model.SelAvail() && s >= 0 && s <= Length()) {
                // The selection starts where asked unless that is no character start.
                if (CaretPlace(f.rows, s)) {
                    ASSERT_EQ(start, s) << Where();
                }
            }
            if (!::testing::Test::HasFatalFailure()) EditSelection(start, length);
        } else if (op < 50) {
            // A selection by caret moves (Shift with the arrows, a drag).
            FLastOp = "caret selection";
            f.model.BeginSelection();
            for (int k = 1 + Rand(4); k > 0; --k) {
                MoveCaret();
                f.model.ExtendSelection();
            }
            std::int64_t start = 0, length = 0;
            CheckStreamSelection(start, length);
            if (!::testing::Test::HasFatalFailure()) EditSelection(start, length);
        } else if (op < 60) {
            BoxEdit();
        } else if (op < 70) {
            FLastOp = "caret moves";
            for (int k = 1 + Rand(3); k > 0; --k) MoveCaret();
            if (Rand(3) == 0) f.model.MoveCaretToOffset(0, Rand(static_cast<int>(Length()) + 4));
        } else if (op < 80) {
            if (f.rows.UndoObj().CanUndo()) {
                FLastOp = "Undo";
                f.Undo();
                FRef = FHistory[--FPos];
            }
        } else if (op < 86) {
            if (f.rows.UndoObj().CanRedo()) {
                FLastOp = "Redo";
                f.model.CleanSelection();
                f.rows.Redo();
                FRef = FHistory[++FPos];
            }
        } else if (op < 90) {
            FLastOp = "word wrap";
            f.rows.WrapOption().SetWrapByte(20 + Rand(3) * 7);
            f.rows.SetWordWrap(!f.rows.WordWrap());
            FHistory = {FRef};  // switching wraps clears the undo store
            FPos = 0;
        } else if (op < 95) {
            FLastOp = "caret options";
            f.caret.SetFreeCaret(Rand(2));
            f.caret.SetInTab(Rand(2));
            f.caret.SetKeepCaret(Rand(2));
            f.model.SetCol(f.model.Col());  // the rule applies from the next move on
        } else if (op < 97) {
            std::string text;
            for (int k = 1 + Rand(6); k > 0; --k) text += RandomText() + "\r\n";
            FLastOp = "new text";
            SetText(text);
        } else {
            FLastOp = "select all, type";
            f.model.SelectAll();
            std::int64_t start = 0, length = 0;
            CheckStreamSelection(start, length);
            ASSERT_EQ(length, f.model.SelAvail() ? Length() : 0) << Where();
            if (!::testing::Test::HasFatalFailure()) EditSelection(start, length);
        }
    }

    void Check() {
        ASSERT_EQ(f.Text(), FRef) << Where();
        ASSERT_EQ(f.model.TextLength(), Length()) << Where();
        // The caret: inside the rows, at a character start, never inside a TAB's fill without InTab, never
        // right of the row's end without a free caret.
        const int n = f.rows.Count();
        const int row = f.model.Row();
        ASSERT_GE(row, 0);
        ASSERT_LE(row, n);
        if (row == n && n > 0) {
            ASSERT_EQ(f.rows.RowEnd(n - 1), reLineBreak) << Where();
        }
        const std::string map = f.model.Columns().Map(row);
        const char code = ColumnCodeAt(map, f.model.Col());
        ASSERT_NE(code, '5') << "caret inside a two-byte character" << Where();
        if (!f.caret.InTab()) {
            ASSERT_NE(code, '3') << "caret inside a TAB" << Where();
        }
        if (!f.caret.FreeCaret()) {
            ASSERT_LE(f.model.Col(), static_cast<int>(map.size())) << Where();
        }
        ASSERT_TRUE(sjis::IsCharBoundary(f.rows.RowText(row), static_cast<std::size_t>(f.model.CaretByte())))
            << Where();
        // The view's nesting pairs are balanced; the underline is hidden exactly while a selection is active.
        ASSERT_EQ(f.view.caretHidden, 0) << Where();
        ASSERT_EQ(f.view.underlineHidden, f.model.SelAvail() ? 1 : 0) << Where();
    }

    std::string Where() const {
        return " (step " + std::to_string(FStep) + ", " + FLastOp + ", wrap " +
               (f.rows.WordWrap() ? "on" : "off") + ")";
    }

    TEditFixture f;
    std::mt19937 FRng;
    std::string FRef;
    std::vector<std::string> FHistory;
    std::size_t FPos = 0;
    int FStep = 0;
    std::string FLastOp;
    const bool FTrace = std::getenv("VELLORIA_RANDOM_TRACE") != nullptr;
};

}  // namespace

TEST(RandomSelectionEdit, SelectionEditsFollowAPlainReferenceText) {
    const int steps = static_cast<int>(EnvNumber("VELLORIA_RANDOM_STEPS", 3000));
    const unsigned seed = static_cast<unsigned>(EnvNumber("VELLORIA_RANDOM_SEED", 20261208));
    for (unsigned run = 0; run < 4; ++run) {
        SCOPED_TRACE("seed " + std::to_string(seed + run));
        TRandomSelectionRun random(seed + run);
        random.Run(steps);
        if (HasFatalFailure()) return;
    }
}
