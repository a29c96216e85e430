// TEditor: the editor control, a Qt widget over the editor text model.
//
// The control shows the screen rows of a TEditorScreenStrings on an exact column grid (one column per
// byte, CharWidth pixels each), with a left bar of line numbers and a column ruler, and keeps the caret,
// the selection and the scroll position in screen rows and tab-expanded screen columns. The caret, the
// selection and the edits on them are a model of their own (TEditModel, editor/edit/), which the control
// owns, forwards its API to and shows: it implements TEditView, through which the model reports what to
// repaint, TRowListClient, through which the row list reaches the editors that show it, and
// TRepaintTarget, which receives the repaint its TEditorScreen computes after a change; it hands the row
// list its scanner options and column rules as values (RowListOptions).
//
// The class is split by concern over several files: Editor.cpp (construction, properties, option and
// change notifications), EditorCaretDisplay.cpp (the caret's display and the IME position),
// EditorScroll.cpp (metrics, coordinates, scrolling, scroll bars and wheel), EditorPaint.cpp (the paint
// pass and row painting), EditorSelection.cpp (the model's API and the repaint of selection changes),
// EditorLeftbarPaint.cpp (left bar and ruler), EditorKeys.cpp (key events), EditorIme.cpp (the input
// method: commit, pre-edit and queries).
//
// Painting follows Qt's model: everything is drawn inside paintEvent. A change of the selection, the ruler
// mark or the underline invalidates exactly the strips whose state changed and the paint pass draws them;
// scrolling moves pixels with QWidget::scroll and paints only the uncovered strip.
#pragma once

#include <QAbstractScrollArea>
#include <QCursor>
#include <QElapsedTimer>
#include <QMenu>
#include <QPointer>
#include <QFont>
#include <QKeyEvent>
#include <QRect>
#include <QTimer>
#include <cstdint>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/options/EditorCaret.h"
#include "base/PairGuard.h"
#include "editor/RepaintTarget.h"
#include "editor/RowListClient.h"
#include "editor/options/EditorLeftbar.h"
#include "editor/options/EditorMargin.h"
#include "editor/options/EditorMarks.h"
#include "editor/options/EditorRuler.h"
#include "editor/EditorTypes.h"
#include "editor/edit/EditModel.h"
#include "editor/edit/EditTypes.h"
#include "editor/edit/EditView.h"
#include "editor/options/EditorViewInfo.h"
#include "editor/rows/RowListOptions.h"
#include "editor/rows/RowWord.h"
#include "editor/widget/EditorGutterImages.h"
#include "editor/widget/EditorTextPainter.h"

class TEditorScreenStrings;
class TEditorStrings;
class TEditorScreen;
class TEditorWrapOption;
class TEditorParser;
class TEditorColor;
class QPainter;
class QKeyEvent;
class QMouseEvent;
class QContextMenuEvent;
class QMimeData;
class QMenu;
class TEditorPopupMenu;

// The edit-control messages TEditor::Perform answers.
namespace editmsg {
enum : unsigned {
    WM_SETTEXT = 0x000C,
    WM_GETTEXT = 0x000D,
    WM_GETTEXTLENGTH = 0x000E,
    WM_CUT = 0x0300,
    WM_COPY = 0x0301,
    WM_PASTE = 0x0302,
    WM_CLEAR = 0x0303,
    EM_GETSEL = 0x00B0,
    EM_SETSEL = 0x00B1,
    EM_SCROLLCARET = 0x00B7,
    EM_GETMODIFY = 0x00B8,
    EM_SETMODIFY = 0x00B9,
    EM_GETLINECOUNT = 0x00BA,
    EM_LINEINDEX = 0x00BB,
    EM_LINELENGTH = 0x00C1,
    EM_REPLACESEL = 0x00C2,
    EM_GETLINE = 0x00C4,
    EM_CANUNDO = 0x00C6,
    EM_UNDO = 0x00C7,
    EM_LINEFROMCHAR = 0x00C9,
    EM_EMPTYUNDOBUFFER = 0x00CD,
    EM_GETFIRSTVISIBLELINE = 0x00CE,
    EM_SETREADONLY = 0x00CF,
    EM_POSFROMCHAR = 0x00D6,
    EM_CHARFROMPOS = 0x00D7,
};
}  // namespace editmsg

enum TBorderStyle { bsNone, bsSingle };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// Scroll-bar requests, 0..7: what a bar action, a key or the wheel asks of VScroll and HScroll.
enum TScrollRequest {
    sbLineUp = 0,
    sbLineDown = 1,
    sbPageUp = 2,
    sbPageDown = 3,
    sbThumbPosition = 4,
    sbThumbTrack = 5,
    sbTop = 6,
    sbBottom = 7,
};

// What a scroll bar shows: minimum, maximum, page and position, the page counted inside the range (the Qt
// bar's own maximum is maximum - page + 1).
struct TScrollInfo {
    int min = 0;
    int max = 0;
    int page = 0;
    int pos = 0;
};

class TEditor : public QAbstractScrollArea, public TRowListClient, public TRepaintTarget, public TEditView {
public:
    using TNotifyEvent = std::function<void(TEditor* sender)>;
    using TDrawLineEvent = std::function<void(TEditor* sender, const std::string& lineStr, int x, int y,
                                              int index, const QRect& rect, bool selected)>;
    using TSelectionChangeEvent = std::function<void(TEditor* sender, bool selected)>;

    static constexpr int kMaxCols = TEditModel::kMaxCols;

    explicit TEditor(QWidget* parent = nullptr);
    ~TEditor() override;

    // ---- Events --------------------------------------------------------------------------------------
    TNotifyEvent OnCaretMoved;
    TNotifyEvent OnChange;
    TDrawLineEvent OnDrawLine;
    TSelectionChangeEvent OnSelectionChange;
    TNotifyEvent OnSelectionModeChange;
    TNotifyEvent OnTopColChange;
    TNotifyEvent OnTopRowChange;

    // ---- Properties (the options the owner sets up) -------------------------------------------------
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle style);
    TEditorCaret& Caret() { return *FCaret; }
    const TEditorCaret& Caret() const { return *FCaret; }
    void SetCaret(const TEditorCaret& caret);
    TEditorStrings& Lines() { return *FLines; }
    TEditorMarks& Marks() { return *FMarks; }
    const TEditorMarks& Marks() const { return *FMarks; }
    void SetMarks(const TEditorMarks& marks);
    TEditorMargin& Margin() { return *FMargin; }
    const TEditorMargin& Margin() const { return *FMargin; }
    void SetMargin(const TEditorMargin& margin);
    TEditorLeftbar& Leftbar() { return *FLeftbar; }
    const TEditorLeftbar& Leftbar() const { return *FLeftbar; }
    void SetLeftbar(const TEditorLeftbar& leftbar);
    TEditorRuler& Ruler() { return *FRuler; }
    const TEditorRuler& Ruler() const { return *FRuler; }
    void SetRuler(const TEditorRuler& ruler);
    TEditorViewInfo& View() { return *FView; }
    const TEditorViewInfo& View() const { return *FView; }
    void SetView(const TEditorViewInfo& view);
    bool ReadOnly() const { return FEdit->ReadOnly(); }
    void SetReadOnly(bool value);
    const TReserveWordList& ReserveWordList() const { return FReserveWordList; }
    // Sorted without regard to ASCII case, duplicates ignored; equal lists are ignored.
    void SetReserveWordList(const std::vector<std::string>& words);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle style);
    int UndoListMax() const;
    void SetUndoListMax(int value);
    bool WantReturns() const { return FWantReturns; }
    void SetWantReturns(bool value) { FWantReturns = value; }
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool value) { FWantTabs = value; }
    bool WordWrap() const;
    void SetWordWrap(bool value);
    TEditorWrapOption& WrapOption();
    void SetWrapOption(const TEditorWrapOption& option);
    // The control's background (`Color`) and the font colour (`Font.Color`), as colour numbers.
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor color);
    // QWidget::setFont sets the font; the name is kept, font substitution finds an installed face.

    // ---- State -------------------------------------------------------------------------------------
    int Row() const override { return FEdit->Row(); }
    int Col() const override { return FEdit->Col(); }
    int TopRow() const override { return FTopRow; }
    int TopCol() const { return FTopCol; }
    int CharWidth() const { return FCharWidth; }
    int CharHeight() const { return FCharHeight; }
    int RowHeight() const override { return FRowHeight; }
    int VisibleRows() const override { return FVisibleRows; }
    int VisibleCols() const { return FVisibleCols; }
    int MaxTopRow() const { return FMaxTopRow; }
    int GoalCol() const { return FEdit->GoalCol(); }
    bool Modified() const { return FModified; }
    void SetModified(bool value) { FModified = value; }
    bool OverwriteMode() const { return FOverwriteMode; }
    void SetOverwriteMode(bool value);
    bool BoxSelectMode() const { return FEdit->BoxSelectMode(); }
    void SetBoxSelectMode(bool on) { FEdit->SetBoxSelectMode(on); }
    TSelectionState SelectionState() const { return FEdit->SelectionState(); }
    TSelDragState SelDragState() const { return FEdit->SelDragState(); }
    bool ItalicInUse() const { return FItalic; }
    int LeftbarWidth() const { return FLeftbarWidth; }
    int LeftbarDigits() const { return FLeftbarDigits; }
    int RulerHeight() const { return FRulerHeight; }
    int CaretHideCount() const { return FCaretHideCount; }
    bool CaretShown() const { return FCaretShown; }
    int UnderlineHideCount() const { return FUnderlineHideCount; }
    TEditorScreenStrings& ScreenStrings() { return *FRows; }
    const TEditorScreenStrings& ScreenStrings() const { return *FRows; }
    // The caret and selection model that this control shows.
    TEditModel& Edit() { return *FEdit; }
    const TEditModel& Edit() const { return *FEdit; }

    // ---- Text and offsets (the model's, as int) ---------------------------------------------------------
    int LineCount() const;
    int TextLength() const { return static_cast<int>(FEdit->TextLength()); }
    bool SelAvail() const { return FEdit->SelAvail(); }
    int SelStart() const { return static_cast<int>(FEdit->SelStart()); }
    void SetSelStart(int offset) { FEdit->SetSelStart(offset); }
    int SelLength() const { return static_cast<int>(FEdit->SelLength()); }
    void SetSelLength(int count) { FEdit->SetSelLength(count); }
    std::string SelText() const { return FEdit->SelText(); }
    void SetSelText(std::string_view text) { FEdit->SetSelText(text); }
    // The whole text (rows joined, CR LF after each line break) and its replacement.
    std::string Text() const;
    void SetText(std::string_view text);

    // Row facts: bytes, end code (reEndOfText outside the list), column map and tab-expanded text.
    std::string_view RowText(int row) const { return FEdit->Columns().Text(row); }
    TRowEnd RowEnd(int row) const { return FEdit->Columns().End(row); }
    std::string RowColumnMap(int row) const { return FEdit->Columns().Map(row); }
    std::string ExpandedRowText(int row) const { return FEdit->Columns().ExpandedText(row); }
    int RowWidth(int row) const { return FEdit->Columns().Width(row); }  // expanded width of a row
    // Byte index of a column in a row (a column inside a TAB's fill maps to the TAB).
    int ColumnToByte(int row, int col) const { return FEdit->Columns().ColumnToByte(row, col); }
    // Column of a byte index in a row (the expanded width of the bytes before it).
    int ByteToColumn(int row, int byteIndex) const { return FEdit->Columns().ByteToColumn(row, byteIndex); }
    // Character offset of a position (line breaks count 2, wraps 0).
    int PositionToOffset(int row, int byteIndex) const {
        return static_cast<int>(FEdit->PositionToOffset(row, byteIndex));
    }
    // Character offset of the caret (while a selection is dragged: of the point where it would drop).
    int CaretOffset() const { return PositionToOffset(Row(), FEdit->CaretByte()); }

    // ---- Caret, coordinates, scrolling ---------------------------------------------------------------
    void SetRow(int row) override { FEdit->SetRow(row); }
    void SetCol(int col) override { FEdit->SetCol(col); }
    void SetRowCol(int row, int col) { FEdit->SetRowCol(row, col); }
    void SetTopRow(int row);
    void SetTopCol(int col);
    void MoveCaretToOffset(int baseRow, int offset) override { FEdit->MoveCaretToOffset(baseRow, offset); }
    void UpdateFontMetrics();
    void UpdateScrollBars();
    int TextLeft() const;
    int TextTop() const;
    // (row, column) of a client point; snap rounds to the nearer cell edge.
    TRowCol PointToRowCol(int x, int y, bool snap) const;
    using TMoveKind = TEditModel::TMoveKind;
    void NormalizeCaretColumn(TMoveKind kind, int direction) { FEdit->NormalizeCaretColumn(kind, direction); }
    void UpdateCaret();
    void ScrollCaretIntoView();
    void ScrollRows(int row, int count);
    QPoint CaretPixelPos() const;
    QRect CaretRect() const;
    TScrollInfo VertScrollInfo() const { return FVertInfo; }
    TScrollInfo HorzScrollInfo() const { return FHorzInfo; }
    // The scroll-bar and wheel requests (also driven by the Qt bars and wheel events).
    void VScroll(TScrollRequest request, int trackPos = 0);
    void HScroll(TScrollRequest request, int trackPos = 0);
    void WheelScroll(int delta);

    // Caret display: nesting counters; every hide is matched by a show (use CaretHider, UnderlineHider).
    void HideCaretNested() override;
    void ShowCaretNested() override;
    void HideUnderline() override;
    void ShowUnderline() override;
    using CaretHider = TPairGuard<TEditor, &TEditor::HideCaretNested, &TEditor::ShowCaretNested>;
    using UnderlineHider = TPairGuard<TEditor, &TEditor::HideUnderline, &TEditor::ShowUnderline>;

    // ---- Selection -----------------------------------------------------------------------------------
    void BeginSelection() { FEdit->BeginSelection(); }
    void ExtendSelection() { FEdit->ExtendSelection(); }
    void StartSelecting() { FEdit->StartSelecting(); }
    void UpdateSelection() { FEdit->UpdateSelection(); }
    void CancelSelection() { FEdit->CancelSelection(); }
    // Selects the whole text and puts it on the X11 primary selection.
    void SelectAll();
    void DeleteSelection() { FEdit->DeleteSelection(); }
    bool PointInSelection(int row, int col) const { return FEdit->PointInSelection(row, col); }
    bool CanDragSelection() const { return FEdit->CanDragSelection(); }
    const TSelectionColumns& SelectionColumns() const { return FEdit->SelectionColumns(); }
    // Selection by bytes: first row, last row, first byte, last byte (inclusive).
    int SelFirstRow() const { return FEdit->SelectionBytes().firstRow; }
    int SelLastRow() const { return FEdit->SelectionBytes().lastRow; }
    int SelFirstByte() const { return FEdit->SelectionBytes().firstByte; }
    int SelLastByte() const { return FEdit->SelectionBytes().lastByte; }
    // Inserts text at the caret (replacing an active selection).
    void InsertText(std::string_view text) { FEdit->InsertText(text); }

    // ---- Edit commands -------------------------------------------------------------------------------
    void Undo();
    void Redo();
    bool CanUndo() const;
    bool CanRedo() const;
    void Clear();

    // ---- Keyboard and input method (EditorKeys.cpp, EditorIme.cpp) -------------------------------------
    // Raised before the control reacts to a key: a handler that sets key to 0 cancels the reaction.
    // OnKeyDown and OnKeyUp get the Qt key code, OnKeyPress the character typed (8 Backspace, 9 Tab,
    // 13 Enter, else the Unicode character).
    using TKeyEvent = std::function<void(TEditor* sender, int& key, Qt::KeyboardModifiers shift)>;
    using TKeyPressEvent = std::function<void(TEditor* sender, char32_t& key)>;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;
    // The current key auto-repeats (set by every key press, cleared by its release).
    bool KeyRepeating() const { return FKeyRepeating; }
    // The input method's text while composing: drawn at the caret, not part of the text nor of the undo.
    const QString& PreeditText() const { return FPreedit; }
    // One typed character: encoded to Shift-JIS and inserted (a two-byte code as a whole, like an input
    // method's result); a character without a Shift-JIS code is not inserted and beeps.
    void TypeCharacter(char32_t ch);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    // The character part of a key (Backspace, Tab, Enter, typed text); false when the key has none.
    bool KeyCharacters(QKeyEvent* event);
    // Keys the control takes before the window's shortcuts see them.
    bool WantsKey(const QKeyEvent* event) const;
    // Where the pre-edit text is drawn (viewport pixels; empty without one), and its drawing.
    QRect PreeditRect() const;
    void DrawPreedit(QPainter& p);

    QString FPreedit;
    int FPreeditCursor = 0;
    QRect FPreeditDrawnRect;

public:
    // ---- Repaint requests (TRepaintTarget; InvalidateRow comes from the row list) ---------------------
    void InvalidateRow(int row) override;
    void InvalidateRows(int firstRow, int lastRow) override;
    void InvalidateLeftbarRows(int firstRow, int lastRow) override;
    void InvalidateTextArea() override;
    // Every rectangle handed to the viewport for repainting goes through here; tests can record them.
    void InvalidateRect(const QRect& rect);
    void SetRecordInvalidations(bool on);
    const std::vector<QRect>& RecordedInvalidations() const { return FRecorded; }
    // The regions of the paint passes since recording started (painted areas, in viewport pixels).
    const std::vector<QRegion>& RecordedPaints() const { return FRecordedPaints; }
    // The left bar's number texts of rows first..last (empty where a row shows no number).
    std::vector<std::string> LeftbarTexts(int firstRow, int lastRow) const;
    // y of a screen row's band and of its underline (-1 outside the client area).
    int RowY(int row) const { return TextTop() + (row - FTopRow) * FRowHeight; }
    int UnderlineY(int row) const;

    // ---- TRowListClient, and the options handed to the row list ----------------------------------------
    void SetTopRowDirect(int row) override;
    int DisplayHeight() const override;
    void CleanSelection() override { FEdit->CleanSelection(); }
    void StringsChanged() override;
    void Refresh() override;
    void SetLinesUpdating(bool updating) override;
    void ScrollRowsFrom(int row, int delta) override;
    bool Focused() const override;
    const TDelimiters& Delimiters() const { return FDelimiters; }
    int TabSpaceCount() const;
    // What the row list wraps and scans with while this editor owns it.
    TScanOptions ScanOptions() const { return {FView.get(), &FReserveWordList}; }
    TColumnRules ColumnRules() const;
    TRowListOptions RowListOptions() const { return {ScanOptions(), ColumnRules()}; }

    // The Qt cursor of a cursor number of the options (built-in cursors are negative; 1 is the right-pointing
    // arrow of the left margin and 2 the drag-copy cursor).
    static QCursor CursorOf(TCursor cursor);

    // The colour of a colour number in this control's palette.
    QColor Resolve(TColor color) const;

    // ---- Mouse, clipboard, popup menu and edit messages
    // (EditorMouse.cpp, EditorGestureFilter.cpp, EditorClipboard.cpp, EditorPopupMenu.cpp,
    // EditorPerform.cpp, EditorCursorImages.cpp)
    TNotifyEvent OnDblClick;
    // A paste from another program replaced characters that have no Shift-JIS code by "？": how many.
    std::function<void(TEditor* sender, int replaced)> OnPasteLoss;

    // Left-margin row selection (a press, then the pointer moving while row-selecting).
    void SelectRow(int row) { FEdit->SelectRow(row); }
    void ExtendRowSelection(int row) { FEdit->ExtendRowSelection(row); }
    // The cursor kind: 0 over the text, 1 over the left margin, 2 over a draggable selection, 3 dragging
    // to move, 4 dragging to copy.
    int CursorKind() const { return FCursorKind; }
    // The key filter while a press or a selection drag is in progress; the key handlers call it first and
    // stop when it returns true (the key is consumed).
    bool FilterKeyDuringGesture(QKeyEvent* event);
    // Whether a press or a drag holds the input (the left button pressed in the control, or a drag).
    bool GestureInProgress() const { return FLeftDown || SelDragState() != TSelDragState::None; }

    // Clipboard. Every copy puts the text as UTF-8 with LF line ends, the exact Shift-JIS bytes with CR LF
    // under kSjisMimeType and, for a box, kBoxMimeType too. A paste prefers our bytes; other text is
    // encoded to Shift-JIS, characters without a code becoming "？" (reported through OnPasteLoss).
    static constexpr const char* kSjisMimeType = "application/x-velloria-sjis";
    static constexpr const char* kBoxMimeType = "application/x-velloria-box";
    void CutToClipboard();
    void CopyToClipboard();
    void PasteFromClipboard();
    // The clipboard's text as a box, whatever its formats (the popup menu's box paste).
    void BoxPasteFromClipboard();
    void BoxPaste(std::string_view text) { FEdit->BoxPaste(text); }
    // Pastes the X11 primary selection at a client point (middle button).
    void PastePrimarySelection(const QPoint& at);
    // The Shift-JIS bytes of a clipboard's content (our bytes when present), and the box flag; replaced
    // counts the characters that had no code. Empty when it holds no text.
    static std::string ClipboardBytes(const QMimeData* data, bool* box = nullptr, int* replaced = nullptr);
    // Encodes text for the rows: characters without a Shift-JIS code become "？".
    static std::string EncodeForPaste(QStringView text, int* replaced);

    // The popup menu the control shows on a right click or the context-menu key: its own
    // (TEditorPopupMenu) unless an owner installed another. Its shortcuts work while it is installed.
    QMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(QMenu* menu);
    TEditorPopupMenu* OwnPopupMenu() const { return FOwnPopup; }

    // The edit-control messages (numbers in editmsg). Pointers in lParam (and wParam for EM_GETSEL) are
    // the caller's buffers; no write goes past the size the message gives.
    std::intptr_t Perform(unsigned msg, std::intptr_t wParam, std::intptr_t lParam);

    // The editor's own cursor images ("RightArrow": the arrow mirrored; "DragSelCopy": the arrow with a
    // plus box).
    static QCursor RightArrowCursorImage();
    static QCursor DragSelCopyCursorImage();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void SetCursorKind(int kind);
    void UpdateHoverCursor(const QPoint& at);
    // What the pointer at `at` does while drag-selecting (the caret and the selection follow it) or while
    // dragging a selection (the caret shows the drop point); a caret outside the window scrolls the text.
    void DragTo(const QPoint& at);
    // While the pointer rests outside the text area during one of these drags, a timer repeats DragTo at
    // its last position, so that the text keeps scrolling and the selection keeps growing.
    bool OutsideTextArea(const QPoint& at) const;
    void FollowPointer(const QPoint& at);
    void AutoScroll();
    void StopAutoScroll();
    void CancelDrag(bool escape);
    void Drop(const QPoint& at, bool copy);
    // Puts the selection on the X11 primary selection after `delayMs` (0: once the current event is
    // handled); a new request restarts the wait, so a run of changes puts only the last selection.
    void SchedulePrimarySelection(int delayMs = 0);
    void PutPrimarySelection();
    void PasteBytes(const std::string& bytes, bool box);
    static QMimeData* MimeFor(const std::string& bytes, bool box);

    int FCursorKind = 0;
    bool FLeftDown = false;  // a left press in the control whose release is still to come
    QPoint FMouseDown;
    QPoint FDragPoint;                      // the pointer's last position during a drag
    QTimer FAutoScrollTimer;                // repeats DragTo while that position is outside the text area
    QTimer FPrimaryTimer;                   // the pending copy of the selection to the primary selection
    TEditorPopupMenu* FOwnPopup = nullptr;  // owned through the Qt parent
    QPointer<QMenu> FPopupMenu;

protected:
    // Qt events.
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent* event) override;

public:
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

protected:
    // Operations a derived control may replace.
    virtual void FillDelimiters();
    virtual void OptionChanged(TNotifyPersistent* sender);
    virtual void DoChange();
    virtual void DoDrawLine(const std::string& lineStr, int x, int y, int index, const QRect& rect,
                            bool selected);
    virtual void DoSelectionChange(bool selected);
    virtual void DoSelectionModeChange();
    virtual void DoTopColChange();
    virtual void DoTopRowChange();
    virtual void CreateEditorCaret();

private:
    // Construction helpers.
    void WireOptions();
    void FontChanged();
    void UpdateItalicFlag();
    void UpdateVisibleColumns();
    void UpdateImeWindow();
    void PlaceCaret();
    void ShowEditorCaret();
    void HideEditorCaret();
    void DestroyCaret();
    void BlinkCaret();
    void InvalidateCaret();
    void SyncScrollBars();
    void OnVerticalAction(int action);
    void OnHorizontalAction(int action);
    // Scrolls the strip `rect` by (dx, dy) pixels, moving the pixels and repainting only what is uncovered.
    void ScrollStrip(int dx, int dy, const QRect& rect);
    void ShiftTextForLeftbar(int oldWidth, int newWidth);
    // TEditView: what the caret and selection model asks to be shown (EditorSelection.cpp).
    void CaretPlaced() override;
    void CaretColumnLeaving(int col) override;
    void CaretColumnEntered(int col) override;
    void SelectionChanged(const TSelectionColumns& before, const TSelectionColumns& after) override;
    void SelectionCancelled(const TSelectionColumns& last) override;
    void SelectionModeChanged(bool selectionActive) override;
    bool LeftButtonHeld() const override;

    // Left bar and ruler (EditorLeftbarPaint.cpp).
    bool UpdateDigitCount();
    void UpdateLeftbarWidth();
    void UpdateRulerHeight();
    void BuildLeftEdge();
    void BuildCorner();
    void RebuildRuler();
    void DrawLeftbar(QPainter& p, int firstRow, int lastRow);
    void DrawRuler(QPainter& p, const QRect& clip);
    void DrawRulerMark(int col);
    void EraseRulerMark(int col);
    std::string LeftbarNumberText(int value) const;
    int LineIndexOfRow(int row) const;
    int ScreenWidth() const;
    int ScreenHeight() const;

    // Painting (EditorPaint.cpp).
    struct TRowPaint;
    void PaintRect(QPainter& p, const QRect& rect);
    bool BeginRowPaint(const QRect& rect, int x, int row, const std::string& s, TRowPaint& out);
    void EndRowPaint(QPainter& p, const QRect& rect, int x, int y, int row, const TRowPaint& piece,
                     bool selected, const QColor& retColor);
    void DrawRow(QPainter& p, const QRect& rect, int x, TEditorParser& parser, int row, const std::string& s,
                 int y);
    void DrawSelectedRow(QPainter& p, const QRect& rect, int x, TEditorParser& parser, int row,
                         const std::string& s, int y);
    void DrawRowWithSelection(QPainter& p, const QRect& rect, int x, TEditorParser& parser, int row,
                              const std::string& s, int y);
    void DrawEofMark(QPainter& p, const QRect& clip, int x, int y);
    void DrawRetMark(QPainter& p, int x, int y, const QColor& color);
    void RepaintSelection(const TSelectionColumns& before, const TSelectionColumns& after);
    void InvalidateSelectionStrip(int row, int fromCol, int toCol);
    void InvalidateSelectionRows(int firstRow, int lastRow);
    QRect BoxPieceRect(int row, int leftCol, int rightCol) const;
    int BoxEdgeColumn(int row, int col) const { return FEdit->BoxEdgeColumn(row, col); }
    unsigned StyleBits(const TFontStyles& style) const;
    TFontStyles FontStyles() const;

    // Owned model and options.
    std::shared_ptr<TEditorScreenStrings> FRows;  // shared with other editors; freed by the last one
    std::unique_ptr<TEditorStrings> FLines;
    std::unique_ptr<TEditorScreen> FScreen;
    std::unique_ptr<TEditorViewInfo> FView;
    std::unique_ptr<TEditorCaret> FCaret;
    std::unique_ptr<TEditorMarks> FMarks;
    std::unique_ptr<TEditorMargin> FMargin;
    std::unique_ptr<TEditorLeftbar> FLeftbar;
    std::unique_ptr<TEditorRuler> FRuler;
    TReserveWordList FReserveWordList;
    TDelimiters FDelimiters;
    std::unique_ptr<TEditModel> FEdit;  // caret, selection and their edits on FRows

    // Properties.
    TBorderStyle FBorderStyle = bsSingle;
    TScrollStyle FScrollBars = ssNone;
    bool FWantReturns = true;
    bool FWantTabs = true;
    TColor FColor = clWindow;
    TColor FFontColor = clWindowText;

    // Scrolling state.
    int FTopRow = 0;
    int FTopCol = 0;
    int FHOffset = 0;
    int FCharWidth = 6;
    int FCharHeight = 13;
    int FAscent = 11;
    int FRowHeight = 13;
    int FVisibleRows = 1;
    int FVisibleCols = 1;
    int FMaxTopRow = 0;
    bool FModified = false;
    bool FOverwriteMode = false;
    bool FItalic = false;
    bool FLinesUpdating = false;
    TScrollInfo FVertInfo;
    TScrollInfo FHorzInfo;
    int FSyncingBars = 0;

    // Caret display.
    int FCaretHideCount = 0;
    bool FCaretShown = false;
    bool FCaretCreated = false;
    bool FCaretBlinkOn = true;
    QSize FCaretSize;
    QRect FCaretDrawnRect;
    QTimer FBlinkTimer;
    int FUnderlineHideCount = 0;
    bool FKeyRepeating = false;
    bool FImePending = false;

    // Left bar and ruler.
    int FLeftbarDigits = 4;
    int FLeftbarWidth = 0;
    int FRulerHeight = 0;
    int FRulerMarkCol = -1;  // column whose ruler cell shows the mark (-1: none)
    TEditorGutterImages FImages;
    TEditorTextPainter FText;

    // Test hooks.
    bool FRecording = false;
    std::vector<QRect> FRecorded;
    std::vector<QRegion> FRecordedPaints;
};
