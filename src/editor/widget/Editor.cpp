// TEditor: construction, properties, option and change notifications, row facts, undo.
#include "editor/widget/Editor.h"

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QResizeEvent>
#include <QScrollBar>
#include <algorithm>

#include "editor/widget/EditorPopupMenu.h"
#include "editor/wrap/Delimiters.h"
#include "editor/scan/EditorParser.h"
#include "editor/rows/EditorScreen.h"
#include "editor/rows/EditorScreenStrings.h"
#include "editor/rows/EditorStrings.h"
#include "editor/rows/EditorUndoObj.h"
#include "editor/wrap/EditorWrapOption.h"
#include "gui/SystemColors.h"

TEditor::TEditor(QWidget* parent)
    : QAbstractScrollArea(parent),
      FView(std::make_unique<TEditorViewInfo>()),
      FCaret(std::make_unique<TEditorCaret>()),
      FMarks(std::make_unique<TEditorMarks>()),
      FMargin(std::make_unique<TEditorMargin>()),
      FLeftbar(std::make_unique<TEditorLeftbar>()),
      FRuler(std::make_unique<TEditorRuler>()) {
    FillDelimiters();
    FRows = std::make_shared<TEditorScreenStrings>();
    FRows->AddEditor(this, RowListOptions());
    FRows->SetParserFactory([](const TScanOptions& options, int bracket) {
        return std::make_unique<TEditorParser>(options, bracket);
    });
    FEdit = std::make_unique<TEditModel>(*FRows, *FCaret, FDelimiters, *this);
    FLines = std::make_unique<TEditorStrings>(*FRows, this);
    FScreen = std::make_unique<TEditorScreen>(*this, *FLeftbar);
    WireOptions();

    setFrameShape(QFrame::StyledPanel);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setCursor(Qt::IBeamCursor);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QObject::connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
                     [this](int action) { OnVerticalAction(action); });
    QObject::connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
                     [this](int action) { OnHorizontalAction(action); });
    // A position set from outside (not by a bar action) is a thumb request.
    QObject::connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (!FSyncingBars && value != FTopRow) VScroll(sbThumbPosition, value);
    });
    QObject::connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (!FSyncingBars && value != FTopCol) HScroll(sbThumbPosition, value);
    });

    QFont font(QStringLiteral("FixedSys"));
    font.setPixelSize(12);
    setFont(font);
    resize(185, 89);

    const int flash = QApplication::cursorFlashTime();
    FBlinkTimer.setInterval(flash > 0 ? flash / 2 : 500);
    QObject::connect(&FBlinkTimer, &QTimer::timeout, this, [this] { BlinkCaret(); });
    FAutoScrollTimer.setInterval(60);
    QObject::connect(&FAutoScrollTimer, &QTimer::timeout, this, [this] { AutoScroll(); });
    FPrimaryTimer.setSingleShot(true);
    QObject::connect(&FPrimaryTimer, &QTimer::timeout, this, [this] { PutPrimarySelection(); });

    UpdateFontMetrics();
    UpdateScrollBars();
    BuildLeftEdge();
    RebuildRuler();
    BuildCorner();

    FOwnPopup = new TEditorPopupMenu(this);
    FPopupMenu = FOwnPopup;
    viewport()->setMouseTracking(true);
}

TEditor::~TEditor() {
    // The menu filters this control's events: it goes first.
    delete FOwnPopup;
    FBlinkTimer.stop();
    FAutoScrollTimer.stop();
    FPrimaryTimer.stop();
    // The bars outlive this part of the object; they must not call back into it.
    verticalScrollBar()->disconnect(this);
    horizontalScrollBar()->disconnect(this);
    FScreen.reset();
    // Leave the row list first: it must not call back into a half-destroyed editor.
    FLines.reset();
    FRows->RemoveEditor(this);
    FRows.reset();
}

void TEditor::WireOptions() {
    const auto changed = [this](TNotifyPersistent* sender) { OptionChanged(sender); };
    FView->SetOnChange(changed);
    FCaret->SetOnChange(changed);
    FMarks->SetOnChange(changed);
    FMargin->SetOnChange(changed);
    FLeftbar->SetOnChange(changed);
    FRuler->SetOnChange(changed);
}

void TEditor::FillDelimiters() {
    FillDefaultDelimiters(FDelimiters);
}

QColor TEditor::Resolve(TColor color) const {
    return ResolveColor(color, palette());
}

// ---- Properties
// ---------------------------------------------------------------------------------------------

void TEditor::SetBorderStyle(TBorderStyle style) {
    if (style == FBorderStyle) return;
    FBorderStyle = style;
    setFrameShape(style == bsSingle ? QFrame::StyledPanel : QFrame::NoFrame);
}

void TEditor::SetCaret(const TEditorCaret& caret) {
    FCaret->Assign(caret);
}
void TEditor::SetMarks(const TEditorMarks& marks) {
    FMarks->Assign(marks);
}
void TEditor::SetMargin(const TEditorMargin& margin) {
    FMargin->Assign(margin);
}
void TEditor::SetLeftbar(const TEditorLeftbar& leftbar) {
    FLeftbar->Assign(leftbar);
}
void TEditor::SetRuler(const TEditorRuler& ruler) {
    FRuler->Assign(ruler);
}

void TEditor::SetView(const TEditorViewInfo& view) {
    FView->Assign(view);
    ScrollCaretIntoView();
    PlaceCaret();
}

void TEditor::SetReadOnly(bool value) {
    if (SelDragState() != TSelDragState::None || value == ReadOnly()) return;
    FEdit->SetReadOnly(value);
    if (value && SelAvail()) viewport()->setCursor(CursorOf(FCaret->Cursors().DefaultCursor()));
}

QCursor TEditor::CursorOf(TCursor cursor) {
    switch (cursor) {
        case -1:
            return QCursor(Qt::BlankCursor);
        case -3:
            return QCursor(Qt::CrossCursor);
        case -4:
            return QCursor(Qt::IBeamCursor);
        case -5:
            return QCursor(Qt::SizeAllCursor);
        case -6:
            return QCursor(Qt::SizeBDiagCursor);
        case -7:
            return QCursor(Qt::SizeVerCursor);
        case -8:
            return QCursor(Qt::SizeFDiagCursor);
        case -9:
            return QCursor(Qt::SizeHorCursor);
        case -10:
            return QCursor(Qt::UpArrowCursor);
        case -11:
            return QCursor(Qt::WaitCursor);
        case -12:
            return QCursor(Qt::DragMoveCursor);
        case -13:
            return QCursor(Qt::ForbiddenCursor);
        case -14:
            return QCursor(Qt::SplitHCursor);
        case -15:
            return QCursor(Qt::SplitVCursor);
        case -16:
            return QCursor(Qt::DragCopyCursor);
        case -17:
            return QCursor(Qt::BusyCursor);
        case -18:
            return QCursor(Qt::ForbiddenCursor);
        case -19:
            return QCursor(Qt::BusyCursor);
        case -20:
            return QCursor(Qt::WhatsThisCursor);
        case -21:
            return QCursor(Qt::PointingHandCursor);
        default:
            break;
    }
    // The numbers taken for the editor's own cursors.
    const std::string_view name = TEditorCursors::RegisteredCursorName(cursor);
    if (name == "RightArrow") return RightArrowCursorImage();
    if (name == "DragSelCopy") return DragSelCopyCursorImage();
    switch (cursor) {
        default:
            return QCursor(Qt::ArrowCursor);  // crDefault, crArrow, the left margin's arrow
    }
}

void TEditor::SetReserveWordList(const std::vector<std::string>& words) {
    // The scanner finds reserved words by bisection with its own comparison: sorted with the same one.
    TReserveWordList sorted = TEditorParser::SortReserveWords(words);
    if (sorted == FReserveWordList) return;
    FReserveWordList = std::move(sorted);
    FRows->ScanAll();
    viewport()->update();
}

void TEditor::SetScrollBars(TScrollStyle style) {
    if (style == FScrollBars) return;
    FScrollBars = style;
    const bool h = style == ssHorizontal || style == ssBoth;
    const bool v = style == ssVertical || style == ssBoth;
    setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(v ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    UpdateFontMetrics();
    UpdateScrollBars();
}

int TEditor::UndoListMax() const {
    return FRows->UndoObj().Capacity();
}
void TEditor::SetUndoListMax(int value) {
    FRows->UndoObj().SetCapacity(value);
}
bool TEditor::WordWrap() const {
    return FRows->WordWrap();
}
void TEditor::SetWordWrap(bool value) {
    FRows->SetWordWrap(value);
}
TEditorWrapOption& TEditor::WrapOption() {
    return FRows->WrapOption();
}
void TEditor::SetWrapOption(const TEditorWrapOption& option) {
    FRows->WrapOption().Assign(option);
}

void TEditor::SetColor(TColor color) {
    if (color == FColor) return;
    FColor = color;
    BuildCorner();
    viewport()->update();
}

void TEditor::SetFontColor(TColor color) {
    if (color == FFontColor) return;
    FFontColor = color;
    viewport()->update();
}

void TEditor::SetOverwriteMode(bool value) {
    if (value == FOverwriteMode) return;
    FOverwriteMode = value;
    FEdit->SetOverwriteMode(value);
    UpdateCaret();
}

int TEditor::TabSpaceCount() const {
    return FCaret->TabSpaceCount();
}

TColumnRules TEditor::ColumnRules() const {
    return {FDelimiters, TabSpaceCount()};
}

bool TEditor::Focused() const {
    return hasFocus();
}

TFontStyles TEditor::FontStyles() const {
    const QFont f = font();
    TFontStyles s = 0;
    if (f.bold()) s |= fsBold;
    if (f.italic()) s |= fsItalic;
    if (f.underline()) s |= fsUnderline;
    if (f.strikeOut()) s |= fsStrikeOut;
    return s;
}

// ---- Row facts
// ------------------------------------------------------------------------------------------------

int TEditor::LineCount() const {
    return FRows->Count();
}

// ---- Option changes
// ---------------------------------------------------------------------------------------------

void TEditor::OptionChanged(TNotifyPersistent* sender) {
    if (sender == FMarks.get()) FMargin->SetUnderlineSpace(FMarks->Underline().Visible() ? 1 : 0);
    if (sender == FView.get()) FRows->ScanAll();
    if (sender == FCaret.get()) FRows->SetEditorOptions(this, RowListOptions());  // the tab width
    UpdateFontMetrics();
    UpdateScrollBars();
    if (sender == FLeftbar.get()) {
        BuildLeftEdge();
        BuildCorner();
    } else if (sender == FMargin.get() || sender == FRuler.get()) {
        RebuildRuler();
        BuildCorner();
    }
    viewport()->update();
    if (sender == FCaret.get()) {
        UpdateCaret();
    } else {
        ScrollCaretIntoView();
        PlaceCaret();
    }
}

void TEditor::FontChanged() {
    if (FTopCol > 0) SetCol(0);
    FText = TEditorTextPainter();
    UpdateFontMetrics();
    UpdateScrollBars();
    RebuildRuler();
    BuildCorner();
    viewport()->update();
    UpdateCaret();
}

void TEditor::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        FontChanged();
    } else if (event->type() == QEvent::PaletteChange) {
        BuildLeftEdge();
        RebuildRuler();
        BuildCorner();
        viewport()->update();
    }
}

void TEditor::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateFontMetrics();
    UpdateScrollBars();
    if (FImages.RulerImageWidth() < ScreenWidth() || FImages.LeftEdge().height() < ScreenHeight()) {
        BuildLeftEdge();
        RebuildRuler();
        BuildCorner();
    }
    viewport()->update();
}

// ---- Change notification (from the row list)
// ----------------------------------------------------------------

void TEditor::StringsChanged() {
    const bool contentChanged = FRows->ChangeRecord().Pending;

    FScreen->Update(FRows->ChangeRecord(), LineCount());
    if (FLeftbar->Visible() && FLeftbar->ShowNumber()) {
        const int oldWidth = FLeftbarWidth;
        if (UpdateDigitCount()) {
            UpdateLeftbarWidth();
            BuildCorner();
            ShiftTextForLeftbar(oldWidth, FLeftbarWidth);
            UpdateVisibleColumns();
        }
    }
    UpdateScrollBars();
    if (contentChanged) {
        FModified = true;
        DoChange();
    }
}

void TEditor::DoChange() {
    if (OnChange) OnChange(this);
}

void TEditor::Refresh() {
    UpdateFontMetrics();
    UpdateScrollBars();
    viewport()->update();
}

void TEditor::SetLinesUpdating(bool updating) {
    FLinesUpdating = updating;
    if (updating) {
        viewport()->setUpdatesEnabled(false);
        return;
    }
    viewport()->setUpdatesEnabled(true);
    UpdateFontMetrics();
    UpdateScrollBars();
    FEdit->ClampCaret();
    UpdateCaret();
    viewport()->update();
}

void TEditor::SetTopRowDirect(int row) {
    FTopRow = std::max(0, row);
    SyncScrollBars();
    viewport()->update();
}

int TEditor::DisplayHeight() const {
    return viewport()->height();
}

// ---- Text
// ------------------------------------------------------------------------------------------------------

std::string TEditor::Text() const {
    return FLines->GetTextStr();
}

void TEditor::SetText(std::string_view text) {
    FLines->SetTextStr(text);
}

void TEditor::Clear() {
    FLines->Clear();
}

// ---- Undo
// ---------------------------------------------------------------------------------------------------

void TEditor::Undo() {
    CleanSelection();
    FRows->Undo();
}

void TEditor::Redo() {
    CleanSelection();
    FRows->Redo();
}

bool TEditor::CanUndo() const {
    return FRows->UndoObj().CanUndo();
}
bool TEditor::CanRedo() const {
    return FRows->UndoObj().CanRedo();
}

// ---- Events
// ----------------------------------------------------------------------------------------------------

void TEditor::DoDrawLine(const std::string& lineStr, int x, int y, int index, const QRect& rect,
                         bool selected) {
    if (OnDrawLine) OnDrawLine(this, lineStr, x, y, index, rect, selected);
}

void TEditor::DoSelectionChange(bool selected) {
    if (OnSelectionChange) OnSelectionChange(this, selected);
}

void TEditor::DoSelectionModeChange() {
    if (OnSelectionModeChange) OnSelectionModeChange(this);
}

void TEditor::DoTopColChange() {
    if (OnTopColChange) OnTopColChange(this);
}

void TEditor::DoTopRowChange() {
    if (OnTopRowChange) OnTopRowChange(this);
}

// ---- Test hooks
// ------------------------------------------------------------------------------------------------

void TEditor::InvalidateRect(const QRect& rect) {
    if (rect.isEmpty()) return;
    if (FRecording) FRecorded.push_back(rect);
    viewport()->update(rect);
}

void TEditor::SetRecordInvalidations(bool on) {
    FRecording = on;
    FRecorded.clear();
    FRecordedPaints.clear();
}
