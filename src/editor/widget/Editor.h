// TEditor: the editor control, a Qt widget over the editor text model.
//
// The control shows the screen rows of a TEditorScreenStrings on an exact column grid (one column per
// byte, CharWidth pixels each), with a left bar of line numbers and a column ruler, and keeps the caret,
// the selection and the scroll position in screen rows and tab-expanded screen columns. It implements
// TEditorHost, the interface through which the row list reaches the editors that show it.
//
// The class is split by concern over several files: Editor.cpp (construction, properties, option and
// change notifications), EditorCaret.cpp (caret rule, caret moves and display), EditorScroll.cpp
// (metrics, coordinates, scrolling, scroll bars and wheel), EditorPaint.cpp (the paint pass and row
// painting), EditorSelection.cpp (selection model and character offsets), EditorLeftbar.cpp (left bar and
// ruler). Keyboard, IME typing, mouse gestures, clipboard and the popup menu slot in beside them.
//
// Painting follows Qt's model: everything is drawn inside paintEvent. Where the original control drew
// directly (selection changes, ruler mark, underline), this one invalidates exactly the strips whose
// state changed and the paint pass draws them; scrolling moves pixels with QWidget::scroll and paints
// only the uncovered strip.
#pragma once

#include <QAbstractScrollArea>
#include <QCursor>
#include <QElapsedTimer>
#include <QFont>
#include <QRect>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/options/EditorCaret.h"
#include "editor/EditorHost.h"
#include "editor/options/EditorLeftbar.h"
#include "editor/options/EditorMargin.h"
#include "editor/options/EditorMarks.h"
#include "editor/options/EditorRuler.h"
#include "editor/EditorTypes.h"
#include "editor/options/EditorViewInfo.h"
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

enum TBorderStyle { bsNone, bsSingle };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum class TSelectionState { None, Anchored, Active };
enum class TSelDragState { None, Pending, Dragging };

// Scroll-bar requests (the codes of the platform's scroll messages, 0..7).
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

// What a scroll bar shows: minimum, maximum, page and position as the original control set them (the Qt
// bar's own maximum is maximum - page + 1).
struct TScrollInfo {
    int min = 0;
    int max = 0;
    int page = 0;
    int pos = 0;
};

// The selection by columns: rows top..bottom, columns left..right (right exclusive on the bottom row in
// stream mode; the box's column range in box mode).
// A screen position: row and tab-expanded column.
struct TRowCol {
    int row = 0;
    int col = 0;
    bool operator==(const TRowCol&) const = default;
};

struct TSelectionColumns {
    int top = 0;
    int bottom = 0;
    int left = 0;
    int right = 0;
    bool operator==(const TSelectionColumns&) const = default;
};

class TEditor : public QAbstractScrollArea, public TEditorHost {
public:
    using TNotifyEvent = std::function<void(TEditor* sender)>;
    using TDrawLineEvent = std::function<void(TEditor* sender, const std::string& lineStr, int x, int y,
                                              int index, const QRect& rect, bool selected)>;
    using TSelectionChangeEvent = std::function<void(TEditor* sender, bool selected)>;

    static constexpr int kMaxCols = 1000;

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

    // ---- Published properties ------------------------------------------------------------------------
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
    const TEditorLeftbar& Leftbar() const override { return *FLeftbar; }
    void SetLeftbar(const TEditorLeftbar& leftbar);
    TEditorRuler& Ruler() { return *FRuler; }
    const TEditorRuler& Ruler() const { return *FRuler; }
    void SetRuler(const TEditorRuler& ruler);
    TEditorViewInfo& View() { return *FView; }
    const TEditorViewInfo& View() const override { return *FView; }
    void SetView(const TEditorViewInfo& view);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    const TReserveWordList& ReserveWordList() const override { return FReserveWordList; }
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
    int Row() const override { return FRow; }
    int Col() const override { return FCol; }
    int TopRow() const override { return FTopRow; }
    int TopCol() const { return FTopCol; }
    int CharWidth() const { return FCharWidth; }
    int CharHeight() const { return FCharHeight; }
    int RowHeight() const override { return FRowHeight; }
    int VisibleRows() const override { return FVisibleRows; }
    int VisibleCols() const { return FVisibleCols; }
    int MaxTopRow() const { return FMaxTopRow; }
    int GoalCol() const { return FGoalColValid ? FGoalCol : -1; }
    bool Modified() const { return FModified; }
    void SetModified(bool value) { FModified = value; }
    bool OverwriteMode() const { return FOverwriteMode; }
    void SetOverwriteMode(bool value);
    bool BoxSelectMode() const { return FBoxSelectMode; }
    void SetBoxSelectMode(bool on);
    TSelectionState SelectionState() const { return FSelectionState; }
    TSelDragState SelDragState() const { return FSelDragState; }
    bool ItalicInUse() const { return FItalic; }
    int LeftbarWidth() const { return FLeftbarWidth; }
    int LeftbarDigits() const { return FLeftbarDigits; }
    int RulerHeight() const { return FRulerHeight; }
    int CaretHideCount() const { return FCaretHideCount; }
    bool CaretShown() const { return FCaretShown; }
    int UnderlineHideCount() const { return FUnderlineHideCount; }
    TEditorScreenStrings& ScreenStrings() { return *FRows; }
    const TEditorScreenStrings& ScreenStrings() const { return *FRows; }

    // ---- Text and offsets --------------------------------------------------------------------------
    int LineCount() const;
    int TextLength() const;
    bool SelAvail() const { return FSelectionState == TSelectionState::Active; }
    int SelStart() const;
    void SetSelStart(int offset);
    int SelLength() const;
    void SetSelLength(int count);
    std::string SelText() const;
    void SetSelText(std::string_view text);
    // The whole text (rows joined, CR LF after each line break) and its replacement.
    std::string Text() const;
    void SetText(std::string_view text);

    // Row facts: bytes, end code (reEndOfText outside the list), column map and tab-expanded text.
    std::string_view RowText(int row) const;
    TRowEnd RowEnd(int row) const;
    std::string RowColumnMap(int row) const;
    std::string ExpandedRowText(int row) const;
    int RowWidth(int row) const;  // expanded width of a row
    // Byte index of a column in a row (a column inside a TAB's fill maps to the TAB).
    int ColumnToByte(int row, int col) const;
    // Column of a byte index in a row (the expanded width of the bytes before it).
    int ByteToColumn(int row, int byteIndex) const;
    // Character offset of a position and the position of an offset (line breaks count 2, wraps 0).
    int PositionToOffset(int row, int byteIndex) const;

    // ---- Caret, coordinates, scrolling ---------------------------------------------------------------
    void SetRow(int row) override;
    void SetCol(int col) override;
    void SetRowCol(int row, int col);
    void SetTopRow(int row);
    void SetTopCol(int col);
    void MoveCaretToOffset(int baseRow, int offset) override;
    void UpdateFontMetrics();
    void UpdateScrollBars();
    int TextLeft() const;
    int TextTop() const;
    // (row, column) of a client point; snap rounds to the nearer cell edge.
    TRowCol PointToRowCol(int x, int y, bool snap) const;
    enum class TMoveKind { Vertical, Horizontal };
    void NormalizeCaretColumn(TMoveKind kind, int direction);
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

    // Caret display: nesting counters; every hide is matched by a show (use CaretHider).
    void HideCaretNested() override;
    void ShowCaretNested() override;
    void HideUnderline();
    void ShowUnderline();
    class CaretHider {
    public:
        explicit CaretHider(TEditor& e) : FEditor(e) { FEditor.HideCaretNested(); }
        ~CaretHider() { FEditor.ShowCaretNested(); }
        CaretHider(const CaretHider&) = delete;
        CaretHider& operator=(const CaretHider&) = delete;

    private:
        TEditor& FEditor;
    };
    class UnderlineHider {
    public:
        explicit UnderlineHider(TEditor& e) : FEditor(e) { FEditor.HideUnderline(); }
        ~UnderlineHider() { FEditor.ShowUnderline(); }
        UnderlineHider(const UnderlineHider&) = delete;
        UnderlineHider& operator=(const UnderlineHider&) = delete;

    private:
        TEditor& FEditor;
    };

    // ---- Selection -----------------------------------------------------------------------------------
    void BeginSelection();
    void ExtendSelection();
    void StartSelecting();
    void UpdateSelection();
    void CancelSelection();
    void SelectAll();
    void DeleteSelection();
    bool PointInSelection(int row, int col) const;
    bool CanDragSelection() const;
    TSelectionColumns SelectionColumns() const { return FSelCols; }
    // Selection by bytes: first row, last row, first byte, last byte (inclusive).
    int SelFirstRow() const { return FSelFirstRow; }
    int SelLastRow() const { return FSelLastRow; }
    int SelFirstByte() const { return FSelFirstByte; }
    int SelLastByte() const { return FSelLastByte; }
    // Inserts text at the caret (replacing an active selection).
    void InsertText(std::string_view text);

    // ---- Edit commands -------------------------------------------------------------------------------
    void Undo();
    void Redo();
    bool CanUndo() const;
    bool CanRedo() const;
    void Clear();

    // ---- Repaint requests (also used by the row list through TEditorHost) ----------------------------
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

    // ---- TEditorHost ---------------------------------------------------------------------------------
    void SetTopRowDirect(int row) override;
    int DisplayHeight() const override;
    void CleanSelection() override;
    void StringsChanged() override;
    void Refresh() override;
    void SetLinesUpdating(bool updating) override;
    void ScrollRowsFrom(int row, int delta) override;
    const TDelimiters& Delimiters() const override { return FDelimiters; }
    int TabSpaceCount() const override;
    bool IsLoading() const override { return false; }
    bool Focused() const override;

    // The Qt cursor of a cursor number of the options (built-in cursors are negative; 1 is the right-pointing
    // arrow of the left margin and 2 the drag-copy cursor, registered at start-up in the original).
    static QCursor CursorOf(TCursor cursor);

    // The colour of a colour number in this control's palette.
    QColor Resolve(TColor color) const;

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
    // Overridable operations of the original control.
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
    int ColumnOfByteLimited(int row, int byteIndex) const;
    // Offset arithmetic: the length a row adds to an offset (bytes, plus 2 for a line break).
    int RowOffsetLength(int row) const;
    // Walks `offset` characters from baseRow; returns (row, column) as MoveCaretToOffset places it.
    void OffsetToRowCol(int baseRow, int offset, int& row, int& col) const;
    void ReplaceSelectionBy(std::string_view text);
    std::string BoxRowBytes(int row, int& firstByte, int& endByte) const;
    bool WindowReady() const;

    // Left bar and ruler (EditorLeftbar.cpp).
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
    void PaintRect(QPainter& p, const QRect& rect);
    void DrawRow(QPainter& p, const QRect& rect, int x, TEditorParser& parser, int row, const std::string& s,
                 int y);
    void DrawSelectedRow(QPainter& p, const QRect& rect, int x, TEditorParser& parser, int row,
                         const std::string& s, int y);
    void DrawRowWithSelection(QPainter& p, const QRect& rect, int x, TEditorParser& parser, int row,
                              const std::string& s, int y);
    void DrawEofMark(QPainter& p, const QRect& clip, int x, int y);
    void DrawRetMark(QPainter& p, int x, int y, const QColor& color);
    void RepaintSelection();
    void InvalidateSelectionStrip(int row, int fromCol, int toCol);
    void InvalidateSelectionRows(int firstRow, int lastRow);
    QRect BoxPieceRect(int row, int leftCol, int rightCol) const;
    int BoxEdgeColumn(int row, int col) const;
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

    // Properties.
    TBorderStyle FBorderStyle = bsSingle;
    TScrollStyle FScrollBars = ssNone;
    bool FReadOnly = false;
    bool FWantReturns = true;
    bool FWantTabs = true;
    TColor FColor = clWindow;
    TColor FFontColor = clWindowText;

    // Caret and scrolling state.
    int FRow = 0;
    int FCol = 0;
    int FGoalCol = 0;
    bool FGoalColValid = false;
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
    bool FBoxSelectMode = false;
    bool FItalic = false;
    bool FPlacing = false;  // suppresses intermediate UpdateCaret calls
    bool FLinesUpdating = false;
    TScrollInfo FVertInfo;
    TScrollInfo FHorzInfo;
    int FSyncingBars = 0;

    // Selection.
    TSelectionState FSelectionState = TSelectionState::None;
    TSelDragState FSelDragState = TSelDragState::None;
    int FAnchorRow = 0;
    int FAnchorByte = 0;
    int FAnchorCol = 0;
    int FSelFirstRow = 0;
    int FSelLastRow = 0;
    int FSelFirstByte = 0;
    int FSelLastByte = -1;
    TSelectionColumns FSelCols;
    TSelectionColumns FPaintedSel;
    bool FSelectionRepaint = false;

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
