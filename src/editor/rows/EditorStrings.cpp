#include "editor/rows/EditorStrings.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <system_error>

#include "base/OpenFile.h"
#include "editor/rows/EditorScreenStrings.h"

TEditorStrings::TEditorStrings(TEditorScreenStrings& rows, TRowListClient* editor)
    : FRows(&rows), FEditor(editor) {}

void TEditorStrings::SetRows(TEditorScreenStrings& rows) {
    FRows = &rows;
}

int TEditorStrings::LineToRow(int i) const {
    if (!FRows->WordWrap() || i < 0) return i;
    return FRows->LineStartRow(i);
}

int TEditorStrings::GetCount() const {
    if (!FRows->WordWrap()) return FRows->Count();
    // Every row that is not wrapped ends a line, and so does the last row whatever its code.
    const int n = FRows->Count();
    return FRows->LineBreakRows() + (n > 0 && FRows->RowEnd(n - 1) != reLineBreak ? 1 : 0);
}

std::string TEditorStrings::Get(int i) const {
    if (i < 0 || i >= GetCount()) return {};
    if (!FRows->WordWrap()) return FRows->Get(i);
    std::string text = FRows->RowsText(LineToRow(i), -1).Text;
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0) text.resize(text.size() - 2);
    return text;
}

void TEditorStrings::Replace(int row, int count, const std::string& text, int caretRow) {
    if (FEditor) FEditor->CleanSelection();
    TCaretHideGuard hidden(FEditor);
    FRows->ReplaceRows(row, count, text);
    if (FEditor) FEditor->MoveCaretToOffset(caretRow, static_cast<int>(text.size()));
    Changed();
}

void TEditorStrings::Put(int i, std::string_view s) {
    if (i < 0 || i >= GetCount()) return;
    const int r = LineToRow(i);
    const int l = FRows->LineLastRow(r);
    std::string text(s);
    if (FRows->RowEnd(l) == reLineBreak) text += "\r\n";
    Replace(r, l - r + 1, text, r);
}

void TEditorStrings::Insert(int i, std::string_view s) {
    if (i < 0 || i > GetCount()) return;
    const int r = LineToRow(i);
    if (r >= FRows->Count()) {
        Add(s);
        return;
    }
    std::string text(s);
    text += "\r\n";
    Replace(r, 0, text, r);
}

int TEditorStrings::Add(std::string_view s) {
    const int lines = GetCount();
    const int n = FRows->Count();
    if (n > 0 && FRows->RowEnd(n - 1) != reLineBreak) {
        std::string text(FRows->RowText(n - 1));
        text += "\r\n";
        text += s;
        Replace(n - 1, 1, text, n - 1);
    } else {
        std::string text(s);
        text += "\r\n";
        Replace(n, 0, text, n);
    }
    return lines;
}

void TEditorStrings::Delete(int i) {
    if (i < 0 || i >= GetCount()) return;
    const int r = LineToRow(i);
    Replace(r, FRows->LineLastRow(r) - r + 1, std::string(), r);
}

void TEditorStrings::Clear() {
    FRows->Clear();
    Changed();
}

std::string TEditorStrings::GetTextStr() const {
    const int n = FRows->Count();
    std::size_t bytes = 0;
    for (int r = 0; r < n; ++r) bytes += FRows->RowText(r).size() + 2;
    std::string text;
    text.reserve(bytes);
    for (int r = 0; r < n; ++r) {
        text += FRows->RowText(r);
        if (FRows->RowEnd(r) == reLineBreak) text += "\r\n";
    }
    return text;
}

void TEditorStrings::SetTextStr(std::string_view s) {
    Update update(*this);
    FRows->AssignText(s);
    FRows->ScanAll();
}

namespace {

constexpr std::size_t kBlockSize = 8192;
constexpr char kEndOfFile = 0x1A;

// Reads the file from its start in blocks and calls line(bytes, ended) for every line: ended is false only
// for bytes after the last line break. A CR at the end of one block and an LF at the start of the next are
// one line break; a line cut by a block boundary is joined with its continuation.
template <class F>
void ReadLines(std::FILE* file, const std::filesystem::path& fileName, F&& line) {
    std::rewind(file);
    char block[kBlockSize + 1];
    std::string carry;
    bool skipLeadingLF = false;
    bool stop = false;
    while (!stop) {
        const std::size_t got = std::fread(block, 1, kBlockSize, file);
        if (got == 0) {
            if (std::ferror(file)) strings::ThrowFileError(fileName, errno);
            break;
        }
        block[got] = '\0';
        std::size_t i = 0;
        if (skipLeadingLF) {
            skipLeadingLF = false;
            if (block[0] == '\n') i = 1;
        }
        while (i < got) {
            const std::size_t start = i;
            while (i < got && block[i] != '\n' && block[i] != '\r' && block[i] != kEndOfFile) ++i;
            const std::string_view bytes(block + start, i - start);
            if (i == got) {  // the line goes on in the next block
                carry += bytes;
                break;
            }
            const char c = block[i];
            if (c == kEndOfFile) {
                carry += bytes;
                stop = true;
                break;
            }
            if (carry.empty()) {
                line(bytes, true);
            } else {
                carry += bytes;
                line(std::string_view(carry), true);
                carry.clear();
            }
            ++i;
            if (c == '\r') {
                if (i < got) {
                    if (block[i] == '\n') ++i;
                } else {
                    skipLeadingLF = true;
                }
            }
        }
    }
    if (!carry.empty()) line(std::string_view(carry), false);
}

}  // namespace

void TEditorStrings::LoadFromFile(const std::filesystem::path& fileName) {
    Update update(*this);
    FRows->Clear();
    std::error_code error;
    TFilePtr file = OpenRegularFile(fileName, error);
    if (!file) strings::ThrowFileError(fileName, error);

    int lines = 0;
    ReadLines(file.get(), fileName, [&](std::string_view, bool) { ++lines; });
    FRows->AddEmptyRows(lines);

    int row = 0;
    ReadLines(file.get(), fileName, [&](std::string_view bytes, bool ended) {
        if (row >= FRows->Count()) FRows->AddEmptyRows(1);  // the file grew between the passes
        FRows->Put(row, bytes);
        if (!ended) FRows->SetRowEnd(row, reEndOfText);
        ++row;
    });
    if (row < FRows->Count()) FRows->DeleteRowRange(row, FRows->Count() - row);  // it shrank

    if (FRows->WordWrap()) FRows->RewrapAll();
    FRows->ScanAll();
    for (TRowListClient* e : FRows->Editors()) e->Refresh();
}

void TEditorStrings::Assign(const TStrings& source) {
    if (&source == this) return;
    SetTextStr(source.GetTextStr());
    if (TRowListClient* owner = FRows->OwnerEditor()) {
        owner->SetRow(FRows->Count());
        owner->SetCol(0);
    }
}

void TEditorStrings::SetUpdateState(bool updating) {
    if (updating) {
        ++FUpdateCount;
        FRows->BeginUpdate();
        if (FEditor) {
            FEditor->HideCaretNested();
            FEditor->SetLinesUpdating(true);
        }
        return;
    }
    --FUpdateCount;
    FRows->EndUpdate();
    if (FEditor) {
        FEditor->SetLinesUpdating(false);
        FEditor->ShowCaretNested();
    }
    const std::vector<TRowListClient*> editors = FRows->Editors();
    for (TRowListClient* e : editors) e->Refresh();
    TStrings::SetUpdateState(false);
}
