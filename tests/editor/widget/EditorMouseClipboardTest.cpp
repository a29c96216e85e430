// TEditor: mouse gestures (thresholds, Shift+click, margin rows, dragging a selection), box copy and
// paste, clipboard round trips, the popup menu's enabling and the edit messages.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>
#include <cstring>

#include "EditorTestSupport.h"
#include "editor/widget/EditorPopupMenu.h"

namespace {

// Main-window geometry with IPAGothic 12 px: text area origin (39, 16), cells 6 x 13.
constexpr int kLeft = 39;
constexpr int kTop = 16;
constexpr int kCw = 6;
constexpr int kRh = 13;

// The point of a cell's left edge (snapped and unsnapped both give that cell).
QPoint Cell(int row, int col) {
    return {kLeft + col * kCw + 1, kTop + row * kRh + 5};
}

void Press(TEditor& e, QPoint at, Qt::KeyboardModifiers mods = {}) {
    QTest::mousePress(e.viewport(), Qt::LeftButton, mods, at);
}
void Move(TEditor& e, QPoint at, Qt::KeyboardModifiers mods = {}) {
    QMouseEvent ev(QEvent::MouseMove, at, e.viewport()->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, mods);
    QApplication::sendEvent(e.viewport(), &ev);
}
void Release(TEditor& e, QPoint at, Qt::KeyboardModifiers mods = {}) {
    QTest::mouseRelease(e.viewport(), Qt::LeftButton, mods, at);
}

// An editor with the text loaded and the focus (the caret scrolls only while focused).
std::unique_ptr<TEditor> EditorWith(std::string_view text) {
    auto e = MakeEditor();
    LoadText(*e, text);
    e->setFocus();
    Flush();
    return e;
}

std::string ClipboardFormat(const char* mime) {
    const QMimeData* d = QApplication::clipboard()->mimeData();
    if (!d || !d->hasFormat(QLatin1String(mime))) return "<none>";
    const QByteArray b = d->data(QLatin1String(mime));
    return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

}  // namespace

TEST(EditorMouse, SelectingStartsAtHalfACellAndShiftClickExtends) {
    auto e = EditorWith("abcdefgh\r\nijklmnop");
    const QPoint p = Cell(0, 2);
    Press(*e, p);
    Move(*e, p + QPoint(kCw / 2 - 1, 0));
    EXPECT_FALSE(e->SelAvail());
    Move(*e, p + QPoint(0, kCw / 2));  // vertically far enough, still on column 2
    EXPECT_TRUE(e->SelAvail());
    Move(*e, Cell(0, 5));
    Release(*e, Cell(0, 5));
    EXPECT_EQ(e->SelText(), "cde");
    // A key typed while the button is held is swallowed.
    Press(*e, Cell(1, 1));
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    EXPECT_TRUE(e->FilterKeyDuringGesture(&key));
    Release(*e, Cell(1, 1));
    EXPECT_FALSE(e->FilterKeyDuringGesture(&key));

    // Shift+click without a selection extends from the caret; with one, from its anchor.
    Press(*e, Cell(1, 1));
    Release(*e, Cell(1, 1));
    Press(*e, Cell(0, 6), Qt::ShiftModifier);
    Release(*e, Cell(0, 6), Qt::ShiftModifier);
    EXPECT_EQ(e->SelText(), "gh\r\ni");
    Press(*e, Cell(1, 4), Qt::ShiftModifier);
    Release(*e, Cell(1, 4), Qt::ShiftModifier);
    EXPECT_EQ(e->SelText(), "jkl");
}

TEST(EditorMouse, MarginPressesSelectWholeRowsIncludingThePressedOne) {
    auto e = EditorWith("r0\r\nr1\r\nr2\r\nr3\r\nr4\r\nr5\r\nr6\r\nlast");
    const int margin = 10;
    const auto row = [&](int r) { return QPoint(margin, kTop + r * kRh + 5); };
    Press(*e, row(3));
    Release(*e, row(3));
    EXPECT_EQ(e->SelText(), "r3\r\n");
    EXPECT_EQ(e->Row(), 3);
    EXPECT_EQ(e->Col(), 0);
    Press(*e, row(7));
    Release(*e, row(7));
    EXPECT_EQ(e->SelText(), "last");  // the row without a line break: its text only

    // From row 5 up to row 2 (after moves within row 5), then down to row 6: the pressed row stays.
    Press(*e, row(5));
    Move(*e, row(5) + QPoint(0, 2));
    Move(*e, row(4));
    Move(*e, row(2));
    EXPECT_EQ(e->SelText(), "r2\r\nr3\r\nr4\r\nr5\r\n");
    Move(*e, row(6));
    Release(*e, row(6));
    EXPECT_EQ(e->SelText(), "r5\r\nr6\r\n");
    // Down to the last row, which has no line break, from above it.
    Press(*e, row(6));
    Move(*e, row(9));
    Release(*e, row(9));
    EXPECT_EQ(e->SelText(), "r6\r\nlast");
    QMouseEvent hover(QEvent::MouseMove, row(1), e->viewport()->mapToGlobal(row(1)), Qt::NoButton, {}, {});
    QApplication::sendEvent(e->viewport(), &hover);
    EXPECT_EQ(e->CursorKind(), 1);
}

TEST(EditorMouse, APointerRestingOutsideTheTextKeepsScrollingUntilItComesBackOrIsReleased) {
    std::string text;
    for (int i = 0; i < 80; ++i) text += "line " + std::to_string(100 + i) + "\r\n";
    auto e = EditorWith(text);
    // The caret scrolls the text only in the focused window (on a display too).
    e->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(e.get()));
    const int shown = e->VisibleRows();
    const auto scrolledOnWhileResting = [&] {
        const int top = e->TopRow();
        return QTest::qWaitFor([&] { return e->TopRow() > top + 1; }, 10000);
    };
    const auto restsStill = [&] {
        const int top = e->TopRow();
        QTest::qWait(300);
        return e->TopRow() == top;
    };
    // Drag-selecting from row 2 to below the window: the caret stays on the last row shown, the selection
    // from the press to it.
    Press(*e, Cell(2, 3));
    const QPoint below(kLeft + 3 * kCw, e->viewport()->height() + 10);
    Move(*e, below);
    const int afterMove = e->TopRow();
    EXPECT_GT(afterMove, 0);
    ASSERT_TRUE(scrolledOnWhileResting());
    const auto selectedToLastShownRow = [&] {
        EXPECT_EQ(e->Row(), e->TopRow() + shown - 1);
        EXPECT_EQ(e->SelStart(), 2 * 10 + 3);
        EXPECT_EQ(e->SelLength(), e->CaretOffset() - (2 * 10 + 3));
    };
    selectedToLastShownRow();
    // Back inside the text area the scrolling stops; outside again it goes on.
    Move(*e, Cell(5, 3));
    EXPECT_TRUE(restsStill());
    Move(*e, below);
    ASSERT_TRUE(scrolledOnWhileResting());
    selectedToLastShownRow();
    Release(*e, below);
    EXPECT_TRUE(restsStill());
    EXPECT_EQ(e->SelStart(), 2 * 10 + 3);

    // The left-margin row selection, up past the top: whole rows from the first one to the pressed one.
    const int pressed = e->TopRow() + 3;
    Press(*e, QPoint(10, kTop + 3 * kRh + 5));
    Move(*e, QPoint(10, 2));
    ASSERT_TRUE(QTest::qWaitFor([&] { return e->TopRow() == 0; }, 10000));
    Release(*e, QPoint(10, 2));
    EXPECT_EQ(e->SelStart(), 0);
    EXPECT_EQ(e->SelLength(), (pressed + 1) * 10);
}

TEST(EditorMouse, DraggingMovesOrCopiesTheSelectionInOneUndoStep) {
    const std::string original = "abcdef\r\nxyz\r\n" + Sjis("日本語");
    auto e = EditorWith(original);
    const auto select = [&](int from, int to) {
        e->SetSelStart(from);
        e->SetSelLength(to - from);
    };
    const auto drag = [&](QPoint from, QPoint to, Qt::KeyboardModifiers mods) {
        Press(*e, from);  // the press ends at once: a drag is pending
        EXPECT_EQ(e->SelDragState(), TSelDragState::Pending);
        Move(*e, from + QPoint(kCw, 0), mods);
        EXPECT_EQ(e->SelDragState(), TSelDragState::Dragging);
        EXPECT_EQ(e->CursorKind(), mods & Qt::ControlModifier ? 4 : 3);
        Move(*e, to, mods);
        Release(*e, to, mods);
    };
    // Move "bcd" after "xy": one undo step restores everything.
    select(1, 4);
    Move(*e, Cell(0, 2));
    EXPECT_EQ(e->CursorKind(), 2);
    drag(Cell(0, 2), Cell(1, 2), {});
    EXPECT_EQ(e->Text(), "aef\r\nxybcdz\r\n" + Sjis("日本語"));
    EXPECT_EQ(e->Row(), 1);
    EXPECT_EQ(e->Col(), 5);
    EXPECT_FALSE(e->SelAvail());
    e->Undo();
    EXPECT_EQ(e->Text(), original);
    // A move onto an earlier row, across two-byte characters.
    select(15, 19);  // "本語"
    drag(Cell(2, 2), Cell(0, 1), {});
    EXPECT_EQ(e->Text(), "a" + Sjis("本語") + "bcdef\r\nxyz\r\n" + Sjis("日"));
    e->Undo();
    // Ctrl copies: the selection stays where it was.
    select(8, 10);  // "xy"
    drag(Cell(1, 0), Cell(0, 6), Qt::ControlModifier);
    EXPECT_EQ(e->Text(), "abcdefxy\r\nxyz\r\n" + Sjis("日本語"));
    e->Undo();
    EXPECT_EQ(e->Text(), original);
    // A drop inside the selection only drops it; so does a click inside it without a drag.
    select(1, 5);
    drag(Cell(0, 2), Cell(0, 3), {});
    EXPECT_FALSE(e->SelAvail());
    EXPECT_EQ(e->Text(), original);
    select(1, 5);
    Press(*e, Cell(0, 3));
    Release(*e, Cell(0, 3));
    EXPECT_FALSE(e->SelAvail());
    EXPECT_EQ(e->Col(), 3);
    // Esc during a drag cancels it; Ctrl switches the cursor while dragging.
    select(1, 5);
    Press(*e, Cell(0, 2));
    Move(*e, Cell(0, 4) + QPoint(0, kRh));
    QKeyEvent ctrl(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier);
    EXPECT_FALSE(e->FilterKeyDuringGesture(&ctrl));
    EXPECT_EQ(e->CursorKind(), 4);
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    e->FilterKeyDuringGesture(&esc);
    EXPECT_EQ(e->SelDragState(), TSelDragState::None);
    EXPECT_FALSE(e->SelAvail());
    EXPECT_EQ(e->Text(), original);
}

TEST(EditorClipboard, BoxCopyAndBoxPasteKeepTwoByteCharactersAndTabsWhole) {
    auto e = EditorWith("abcdef\r\nab");
    e->SetBoxSelectMode(true);
    // From column 4 of the long row to column 2 of the short one: the anchor column is not limited.
    Press(*e, Cell(0, 4));
    Move(*e, Cell(1, 2));
    Release(*e, Cell(1, 2));
    e->CopyToClipboard();
    EXPECT_EQ(ClipboardFormat(TEditor::kSjisMimeType), "cd\r\n\r\n");
    EXPECT_EQ(ClipboardFormat(TEditor::kBoxMimeType), "cd\r\n\r\n");
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("cd\n\n"));
    // A paste of it inserts a box at the caret.
    e->SetBoxSelectMode(false);
    e->SetSelStart(1);
    e->PasteFromClipboard();
    EXPECT_EQ(e->Text(), "acdbcdef\r\nab");

    // Three lines at column 5 of a two-row text: the short row is padded, a row is added; no line break
    // is added after the text.
    LoadText(*e, "0123456789\r\nab");
    e->SetRowCol(0, 5);
    e->BoxPaste("X\r\nY\r\nZ");
    EXPECT_EQ(e->Text(), "01234X56789\r\nab   Y\r\n     Z");
    EXPECT_EQ(e->RowEnd(2), reEndOfText);
    EXPECT_EQ(e->Row(), 2);
    EXPECT_EQ(e->Col(), 6);
    e->Undo();
    EXPECT_EQ(e->Text(), "0123456789\r\nab");

    // Box edges: the left edge cutting a two-byte character leaves it out, a right edge on a first half
    // takes the whole character; a TAB under the left edge is outside, under the right edge inside.
    LoadText(*e, "0123456789\r\na" + Sjis("日本") + "b\r\nx\tyz\r\nabc\td\r\n0123456789");
    e->SetBoxSelectMode(true);
    Press(*e, Cell(0, 2));
    Move(*e, Cell(4, 4));
    Release(*e, Cell(4, 4));
    EXPECT_EQ(e->SelText(), "23\r\n" + Sjis("本") + "\r\n\r\nc\t\r\n23\r\n");
    // A box paste over a box selection replaces the box row by row.
    e->BoxPaste("AB\r\nCD\r\nEF\r\nGH\r\nIJ");
    EXPECT_EQ(e->Text(), "01AB456789\r\na" + Sjis("日") + "CDb\r\nx\tEFyz\r\nabGHd\r\n01IJ456789");
    EXPECT_EQ(e->Row(), 4);
    EXPECT_EQ(e->Col(), 4);
}

TEST(EditorClipboard, RoundTripsOurBytesAndEncodesOtherText) {
    auto e = EditorWith("");
    // A code that decodes to a character whose own code differs (an NEC-selected duplicate) and a line break.
    const std::string bytes = "\xED\x40\r\n" + Sjis("かな");
    LoadText(*e, bytes);
    e->SelectAll();
    e->CopyToClipboard();
    EXPECT_EQ(ClipboardFormat(TEditor::kSjisMimeType), bytes);
    EXPECT_EQ(ClipboardFormat(TEditor::kBoxMimeType), "<none>");
    EXPECT_EQ(QApplication::clipboard()->mimeData()->data("text/plain"), QString(SjisCodec::ToUnicode(bytes)).replace("\r\n", "\n").toUtf8());
    e->SetSelStart(e->TextLength());
    e->PasteFromClipboard();
    EXPECT_EQ(e->Text(), bytes + bytes);

    // Text from another program: encoded, characters with no code become "？", the host is told how many.
    int lost = -1;
    e->OnPasteLoss = [&](TEditor*, int n) { lost = n; };
    auto* data = new QMimeData;
    data->setText(QString::fromUtf8("日本\n\xC3\xA9x\xF0\x9F\x98\x80"));  // "é" and an emoji have no code
    QApplication::clipboard()->setMimeData(data);
    LoadText(*e, "");
    e->PasteFromClipboard();
    EXPECT_EQ(e->Text(), Sjis("日本") + "\r\n" + Sjis("？") + "x" + Sjis("？"));
    EXPECT_EQ(lost, 2);
    // Read-only: nothing is pasted.
    e->SetReadOnly(true);
    e->PasteFromClipboard();
    EXPECT_EQ(e->LineCount(), 2);
}

TEST(EditorPopupMenu, ReadOnlyEnablesOnlyCopySelectAllAndBoxMode) {
    auto e = EditorWith("abc\r\ndef");
    QApplication::clipboard()->setText(QStringLiteral("text"));
    e->InsertText("x");  // something to undo
    e->SetSelStart(0);
    e->SetSelLength(2);
    e->SetReadOnly(true);
    TEditorPopupMenu* menu = e->OwnPopupMenu();
    ASSERT_EQ(menu->Items().size(), 12);
    EXPECT_EQ(menu->RedoItem()->shortcut(), QKeySequence(QStringLiteral("Ctrl+A")));
    EXPECT_TRUE(menu->SelectAllItem()->shortcut().isEmpty());
    menu->UpdateItems();
    QStringList enabled;
    for (QAction* a : menu->Items())
        if (!a->isSeparator() && a->isEnabled()) enabled << a->text();
    EXPECT_EQ(enabled, (QStringList{QStringLiteral("コピー(&C)"), QStringLiteral("すべて選択(&A)"),
                                    QStringLiteral("Box選択モード(&K)")}));
    // Its shortcuts work without the menu open.
    QTest::keyClick(e.get(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(ClipboardFormat(TEditor::kSjisMimeType), "xa");
    QTest::keyClick(e.get(), Qt::Key_K, Qt::ControlModifier);
    EXPECT_TRUE(e->BoxSelectMode());
    // An owner that takes the context menu over turns them off (its own shortcuts must not compete).
    e->setContextMenuPolicy(Qt::CustomContextMenu);
    QTest::keyClick(e.get(), Qt::Key_K, Qt::ControlModifier);
    EXPECT_TRUE(e->BoxSelectMode());
}

TEST(EditorPerform, EditMessagesAnswerAndRespectShortBuffers) {
    using namespace editmsg;
    auto e = EditorWith("abc\r\n" + Sjis("日本") + "\r\nxy");
    const auto P = [&](unsigned m, std::intptr_t w, std::intptr_t l) { return e->Perform(m, w, l); };
    const auto ptr = [](void* p) { return reinterpret_cast<std::intptr_t>(p); };
    EXPECT_EQ(P(WM_GETTEXTLENGTH, 0, 0), 13);
    char buf[8];
    std::memset(buf, '#', sizeof buf);
    EXPECT_EQ(P(WM_GETTEXT, 4, ptr(buf)), 3);
    EXPECT_EQ(std::string(buf, 5), std::string("abc\0#", 5));
    EXPECT_EQ(P(WM_GETTEXT, 0, ptr(buf)), 0);
    EXPECT_EQ(buf[0], 'a');
    // EM_GETLINE: the first word holds the size; nothing is written past it.
    std::memset(buf, '#', sizeof buf);
    const std::uint16_t size = 3;
    std::memcpy(buf, &size, 2);
    EXPECT_EQ(P(EM_GETLINE, 1, ptr(buf)), 3);
    EXPECT_EQ(std::string(buf, 4), Sjis("日") + "\x96#");
    EXPECT_EQ(P(EM_GETLINE, 3, ptr(buf)), 0);

    P(EM_SETSEL, 5, 2);
    EXPECT_EQ(e->SelText(), "c\r\n");
    std::int32_t start = -1, end = -1;
    EXPECT_EQ(P(EM_GETSEL, ptr(&start), ptr(&end)), 2 | (5 << 16));
    EXPECT_EQ(start, 2);
    EXPECT_EQ(end, 5);
    EXPECT_EQ(P(EM_LINELENGTH, -1, 0), 6);  // "ab" before it, the whole of row 1 after it
    EXPECT_EQ(P(EM_LINEFROMCHAR, -1, 0), 0);
    P(EM_SETSEL, 0, -1);
    EXPECT_EQ(e->SelLength(), 13);
    P(EM_SETSEL, -1, 0);
    EXPECT_FALSE(e->SelAvail());
    EXPECT_EQ(P(EM_LINEINDEX, 2, 0), 11);
    EXPECT_EQ(P(EM_LINEINDEX, e->LineCount(), 0), -1);
    EXPECT_EQ(P(EM_LINEFROMCHAR, 7, 0), 1);
    EXPECT_EQ(P(EM_LINELENGTH, 7, 0), 4);
    // Positions and points: the character at offset 7 (the second two-byte character) and back.
    const std::intptr_t pos = P(EM_POSFROMCHAR, 7, 0);
    EXPECT_EQ(pos & 0xFFFF, kLeft + 2 * kCw);
    EXPECT_EQ(pos >> 16, kTop + kRh);
    EXPECT_EQ(P(EM_CHARFROMPOS, 0, (kLeft + 3 * kCw) | ((kTop + kRh + 3) << 16)), 7 | (1 << 16));
    EXPECT_EQ(P(EM_CHARFROMPOS, 0, 5000 | (5 << 16)), -1);
    // WM_COPY without a selection empties the clipboard's text; WM_CUT on a read-only editor too.
    QApplication::clipboard()->setText(QStringLiteral("old"));
    P(WM_COPY, 0, 0);
    EXPECT_TRUE(QApplication::clipboard()->text().isEmpty());
    P(EM_SETREADONLY, 1, 0);
    P(EM_SETSEL, 0, 2);
    P(WM_CUT, 0, 0);
    EXPECT_EQ(e->TextLength(), 13);
    EXPECT_TRUE(QApplication::clipboard()->text().isEmpty());
    P(EM_REPLACESEL, 0, ptr(const_cast<char*>("zz")));
    EXPECT_EQ(e->TextLength(), 13);
    P(EM_SETREADONLY, 0, 0);
    P(EM_REPLACESEL, 0, ptr(const_cast<char*>("zz")));
    EXPECT_EQ(e->Text(), "zzc\r\n" + Sjis("日本") + "\r\nxy");
    EXPECT_EQ(P(EM_CANUNDO, 0, 0), 1);
    EXPECT_EQ(P(EM_UNDO, 0, 0), 1);
    EXPECT_EQ(P(EM_GETLINECOUNT, 0, 0), 3);
}
