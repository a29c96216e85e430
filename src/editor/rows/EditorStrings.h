// The editor's Lines: the row list seen as logical lines, with the string-list operations.
//
// With word wrap off a logical line is a row; with it on, a line is the run of rows up to one that does not
// end with reWrapped (or the last row), and Get/Put/Insert/Delete work on whole lines, never on rows. Edits
// go through the row list's ReplaceRows (so they are undoable); each clears the editor's selection and
// leaves the caret after the text it put in. Setting the whole text or loading a file clears the undo store.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "editor/RowListClient.h"
#include "base/Strings.h"

class TEditorScreenStrings;

class TEditorStrings : public TStrings {
public:
    // editor may be null (a view without a control, e.g. in tests).
    TEditorStrings(TEditorScreenStrings& rows, TRowListClient* editor);

    TEditorScreenStrings& Rows() const { return *FRows; }
    // Points the view at another row list (when the editor starts sharing another editor's rows).
    void SetRows(TEditorScreenStrings& rows);
    TRowListClient* Editor() const { return FEditor; }

    int GetCount() const override;
    std::string Get(int i) const override;
    void Put(int i, std::string_view s) override;
    void Insert(int i, std::string_view s) override;
    void Delete(int i) override;
    // Returns the line count before the call. When the last row has no line break, s is joined to it with
    // CR LF and becomes the new last line, again without a line break.
    int Add(std::string_view s) override;
    void Clear() override;

    // All rows joined, CR LF after every row that ends with reLineBreak.
    std::string GetTextStr() const override;
    // Every row gets reLineBreak, the last one too; an empty text gives no rows.
    void SetTextStr(std::string_view s) override;
    // Reads the file in 8192-byte blocks, twice (counting lines, then storing them), so the rows are sized
    // once. CR LF, a lone CR and a lone LF end a line (also when a block boundary splits CR LF); a 0x1A byte
    // ends the text. A last line without a line break gets reEndOfText. Open and read errors, and a file
    // that is not a regular file, throw std::system_error naming the file; the rows read so far stay.
    void LoadFromFile(const std::filesystem::path& fileName) override;
    // From any TStrings: its whole text, then the owner editor's caret at row Count(), column 0.
    void Assign(const TStrings& source) override;

    // First row of logical line i (i itself with word wrap off); the row count for i at or past the end.
    // O(log n): the row list keeps the line breaks counted.
    int LineToRow(int i) const;

protected:
    void SetUpdateState(bool updating) override;

private:
    void Replace(int row, int count, const std::string& text, int caretRow);

    TEditorScreenStrings* FRows;
    TRowListClient* FEditor;
    int FUpdateCount = 0;
};
