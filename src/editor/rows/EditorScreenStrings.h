// The editor's row list: the whole text as screen rows, shared by the editors that show it.
//
// A row is Shift-JIS bytes plus a 32-bit row word (RowWord.h): its row end code and the token scanner's
// state at its start. With word wrap off one row is one logical line; with word wrap on a logical line
// takes one or more rows, all but the last ending with reWrapped. Line breaks are never stored as bytes.
// Only the last row may carry reEndOfText. Rows are 0-based.
//
// Every edit goes through ReplaceRows: it re-wraps the touched logical lines, makes one undo record,
// rescans the token states from the change until they agree again, and leaves a ChangeRecord from which
// each editor repaints (TEditorScreen) when the row list's OnChange reaches its StringsChanged().
//
// Character offsets count bytes, 2 for the line break after a reLineBreak row and 0 for any other row end.
// The row storage keeps partial sums of row lengths and line breaks, so offset <-> row and row -> logical
// line are O(log n) at any time.
//
// Ownership: the editors that show a row list hold it together (std::shared_ptr); each one registers with
// AddEditor and leaves with RemoveEditor; the last one to let go frees it with its undo store and wrap
// options. Each editor hands over its scanner options and column rules with AddEditor (and again with
// SetEditorOptions when they change). The first editor added is the OwnerEditor: its options rule wrapping
// and scanning. The focused one, else the owner, is the ActiveEditor (its caret goes into undo records).
//
// The row-level Add/Insert/Delete/Put inherited from TPointerStringList bypass wrapping and undo; editing
// code uses ReplaceRows (or the logical-line view TEditorStrings).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/RowListClient.h"
#include "editor/rows/EditorStringList.h"
#include "editor/rows/RowListOptions.h"
#include "editor/rows/UndoData.h"

class TEditorParser;
class TEditorUndoObj;
class TEditorWrapOption;

// What the changes of the current update did, for the repaint: from FirstRow on, RemovedCount rows of the
// rows before the update were replaced by InsertedCount rows; the rows from FirstRow up to FirstRow +
// max(InsertedCount, ScannedCount) must be painted again (their text or their stored scanner state
// changed), and the rows after them are the old rows, moved by InsertedCount - RemovedCount. Several
// changes in one update are merged into one record that covers them all. Pending tells whether there was a
// change at all. Reset to zero at the end of every update.
struct TChangeRecord {
    int FirstRow = 0;
    int RemovedCount = 0;
    int InsertedCount = 0;
    int ScannedCount = 0;
    bool Pending = false;
};

// Result of RowsText.
struct TRowsText {
    std::string Text;                  // the rows' bytes, CR LF after each reLineBreak row
    int Rows = 0;                      // number of rows taken
    TRowEnd LastRowEnd = reNone;       // row end code of the last row taken; reNone when none
    std::vector<TRowShape> RowShapes;  // length and row end of each row, when asked for
};

class TEditorScreenStrings : public TEditorStringList {
public:
    // Makes a token scanner for one scanning job (ScanRow and the row painter) from the options it reads
    // and a bracket state. The owner editor may replace it with one that makes a derived scanner.
    using TParserFactory =
        std::function<std::unique_ptr<TEditorParser>(const TScanOptions& options, int bracket)>;

    TEditorScreenStrings();
    ~TEditorScreenStrings() override;

    // --- Editors ---------------------------------------------------------------------------------------
    // Registers an editor with its options (an editor already registered is left as it is).
    void AddEditor(TRowListClient* editor, const TRowListOptions& options = {});
    // Replaces a registered editor's options. When the owner's column rules change with word wrap on, the
    // whole text is re-wrapped as after a change of the wrap options.
    void SetEditorOptions(const TRowListClient* editor, const TRowListOptions& options);
    // Returns true when no editor is left (the caller then lets go of its share). When the owner leaves,
    // the next editor's options rule, and a change of column rules re-wraps as SetEditorOptions does.
    bool RemoveEditor(TRowListClient* editor);
    const std::vector<TRowListClient*>& Editors() const { return FEditors; }
    TRowListClient* OwnerEditor() const { return FEditors.empty() ? nullptr : FEditors.front(); }
    TRowListClient* ActiveEditor() const;
    // The owner's scanner options and column rules (defaults without an editor).
    const TScanOptions& ScanOptions() const;
    const TColumnRules& ColumnRules() const;

    // --- Rows --------------------------------------------------------------------------------------------
    // First row of the logical line that holds row (back over the rows before it that are reWrapped). Row
    // Count() counts as the position after the last row; other rows out of range are returned as they are.
    // O(log n).
    int LineFirstRow(int row) const;
    // Last row of the logical line that holds row (forward while the row is reWrapped and not the last
    // row). A row out of range is returned as it is. O(log n).
    int LineLastRow(int row) const;
    // The text of rows first..first+count-1, CR LF after each reLineBreak row. count -1: the rows of the
    // logical line that starts at first. A first row out of range gives empty text, 0 rows and reNone;
    // count is clamped to the rows there are. withShapes also lists each row's length and row end.
    TRowsText RowsText(int first, int count, bool withShapes = false) const;
    // Removes n rows at first; nothing when first is out of range or n is 0.
    void DeleteRowRange(int first, int n);
    // Inserts all rows of list (with their words) at `at` (0..Count()). The list is left empty.
    void InsertRowList(int at, TEditorStringList& list);

    // --- Offsets and logical lines, each O(log n) ---------------------------------------------------------
    // Character offset of the first byte of row (0 <= row <= Count(); Count() gives the text length).
    std::int64_t RowOffset(int row) const;
    // The row that holds offset: the last row whose RowOffset is <= offset (offset clamped to 0..length).
    // The end of the text is held by the last row when it has no line break (reEndOfText), and by row
    // Count(), the empty row after the final line break, otherwise (also for an empty text: row 0).
    int RowAtOffset(std::int64_t offset) const;
    // Number of reLineBreak rows before row (the 0-based logical line of row); row is clamped to 0..Count().
    int LineOfRow(int row) const;
    // First row of logical line `line` (0-based): the row after the line-th reLineBreak row; Count() when
    // the text has no such line.
    int LineStartRow(int line) const;
    // Replaces the oldCount rows at `at` by the rows of list (with their words). The list is left empty.
    void PutRowList(int at, int oldCount, TEditorStringList& list);

    // The single edit primitive: replaces rows row..row+count-1 and their line breaks by text (Shift-JIS
    // with CR LF, CR or LF breaks; text may be a view of these rows). count 0 inserts before row
    // (row == Count() appends; after a last row without line break that continues the last row). Nothing
    // happens unless row >= 0, row + count <= Count() and count > 0 or text is not empty.
    //
    // The touched logical lines are re-wrapped from the row before row (when row is not the first of its
    // line). When the range ends a line and text does not end with a line break, the next line joins it;
    // when text ends with one, the next line stays as it is. Re-wrapping stops where a new row starts at
    // the same byte as an old row of the rest of the line: a row's cut depends only on the bytes from its
    // start on, so the old rows from there are kept. Makes one undo record holding the changed bytes and
    // the shapes of the replaced rows, and merges the change into ChangeRecord (several calls inside one
    // outer BeginUpdate/EndUpdate leave one record that covers them all).
    void ReplaceRows(int row, int count, std::string_view text);
    // The same for a text the caller gives away: it becomes the rows' text without a copy when its line
    // breaks are CR LF already (a large paste or Replace All is not copied once more).
    void ReplaceRows(int row, int count, std::string&& text);
    void ReplaceRows(int row, int count, const char* text) { ReplaceRows(row, count, std::string_view(text)); }
    const TChangeRecord& ChangeRecord() const { return FChange; }

    // Clears the editors' selections and the undo store, removes every row, resets the ChangeRecord and
    // puts every editor's caret at row 0, column 0.
    void Clear() override;
    // Clears the row list (as Clear) and fills it from a whole text: every row reLineBreak, also the last; an
    // empty text gives no rows. With word wrap on the lines are wrapped. Makes no undo record and does not
    // scan (callers follow with ScanAll).
    void AssignText(std::string_view text);
    // Appends n empty rows (word 0).
    void AddEmptyRows(int n);

    // Clamps Row and TopRow of every editor to the rows: a value beyond the last row becomes the last row
    // when it ends with reEndOfText, otherwise the row count (the empty row after a final line break).
    void ClampEditors();

    // --- Word wrap ----------------------------------------------------------------------------------------
    bool WordWrap() const { return FWordWrap; }
    // Switches word wrap: clears the undo store, re-wraps or un-wraps the whole text, rescans, refreshes
    // every editor, clamps carets and puts them at column 0.
    void SetWordWrap(bool value);
    TEditorWrapOption& WrapOption();
    const TEditorWrapOption& WrapOption() const;
    // The wrap options' change notification: re-wraps everything when word wrap is on.
    void WrapOptionChanged();
    // Fills list with the rows of text, every row's code set: with word wrap off the lines (each
    // reLineBreak), with it on the wrapped rows of each line (reWrapped, the last of a line reLineBreak).
    // An empty text gives one empty row. A row's cut depends only on the bytes from the row's start on
    // (TAB stops are counted from the row's start, as rows are drawn). text may be a view of list's rows.
    virtual void WrapText(std::string_view text, TEditorStringList& list) const;
    // The number of rows line (no line breaks) wraps into; 1 with word wrap off.
    virtual int CountWrappedRows(std::string_view line) const;
    // Re-wraps every logical line (nothing when empty). The editors get no change notification; callers
    // rescan (ScanAll) and refresh.
    void RewrapAll();
    // Joins the rows of every logical line into one row; as RewrapAll, callers rescan and refresh.
    void UnwrapAll();

    // --- Token states
    // ---------------------------------------------------------------------------------------
    void SetParserFactory(TParserFactory factory);
    const TParserFactory& ParserFactory() const { return FParserFactory; }
    // A scanner made by the factory with the owner's options.
    std::unique_ptr<TEditorParser> CreateParser(int bracket) const;
    // Takes the scanner state (kind, bracket) at the start of row to the start of the next row.
    void ScanRow(int row, int& kind, int& bracket) const;
    // Recomputes stored states from the nearest scanned row above row down to where they agree with the
    // stored ones again (at most twice the display height past row). Returns the number of rows rewritten
    // when notify is set (each is also reported to every editor through InvalidateRow). When the states do
    // not agree within that depth, the rows below are marked "not scanned" down to the first row that
    // already is: scanned rows always form one run from row 0 (ScanAll scans a run from the top, scans
    // extend a run, edits rescan from their first row), so every row below that one is unscanned too.
    int ScanFrom(int row, bool notify);
    // Recomputes the states of the whole text: with bracket pairs or word wrap the rows up to twice the
    // display height below the owner's top row are scanned and the others marked "not scanned"; otherwise
    // every row gets "no bracket open".
    void ScanAll();

    // --- Undo ---------------------------------------------------------------------------------------------
    TEditorUndoObj& UndoObj();
    const TEditorUndoObj& UndoObj() const;
    virtual void Redo();
    virtual void Undo();

protected:
    virtual std::unique_ptr<TEditorUndoObj> CreateUndoObj();
    virtual std::unique_ptr<TEditorWrapOption> CreateWrapOption();
    void SetUpdateState(bool updating) override;

private:
    friend class TEditorUndoObj;
    class TNotifySuspend;

    int ScanDepth() const;
    void NotifyEditors();
    // Adds a change to ChangeRecord (the first of an update is taken as it is).
    void MergeChange(const TChangeRecord& change);
    // ScanFrom for a change that put new (unscanned) rows at row..newRowsEnd-1.
    int Rescan(int row, int newRowsEnd, bool notify);
    // Appends the rows of one line (no line breaks) to rows: wrapped with word wrap on, each with its row end
    // (the last reLineBreak). firstRow: the line starts at the first row of a logical line.
    void WrapLineInto(std::string_view line, bool firstRow, TEditorStringList& rows) const;
    // Appends the rows of the last line of a replacement to rows: `start` followed by the bytes of rows
    // from..to (the old rest of the line), its last row ending with `last`. With word wrap on, cutting
    // stops at the first new row that starts where one of the rows keepFrom..to starts; returns the first of
    // the old rows that stays (to + 1 when none).
    int WrapTail(std::string_view start, int from, int to, int keepFrom, bool firstRow, TRowEnd last,
                 TEditorStringList& rows) const;

    std::vector<TRowListClient*> FEditors;
    std::vector<TRowListOptions> FEditorOptions;  // one per editor, in the same order
    mutable std::unique_ptr<TEditorUndoObj> FUndoObj;
    mutable std::unique_ptr<TEditorWrapOption> FWrapOption;
    bool FWordWrap = false;
    int FNotifySuspended = 0;
    TParserFactory FParserFactory;
    TChangeRecord FChange;
};
