// The editor's text model on arbitrary bytes: a text loaded into the row list (word wrap on or off, at a
// fuzz-chosen width), then fuzz-chosen selections replaced, deleted and typed over, undo, redo and wrap
// switches, each followed on a plain reference string with the same offsets (line breaks count 2). After
// every step the text equals the reference and the caret stands at a character start; undoing everything
// gives back the loaded text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "editor/edit/EditTestSupport.h"
#include "editor/support/RowsTestUtil.h"
#include "fuzz/FuzzCheck.h"

using namespace edittest;

namespace {

class TInput {
public:
    TInput(const std::uint8_t* data, std::size_t size) : FData(data), FSize(size) {}
    bool Empty() const { return FPos >= FSize; }
    unsigned Byte() { return FPos < FSize ? FData[FPos++] : 0; }
    unsigned Word() { return Byte() | (Byte() << 8); }
    std::string_view Bytes(std::size_t n) {
        n = std::min(n, FSize - std::min(FPos, FSize));
        const std::string_view s(reinterpret_cast<const char*>(FData) + FPos, n);
        FPos += n;
        return s;
    }

private:
    const std::uint8_t* FData;
    std::size_t FSize;
    std::size_t FPos = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TInput in(data, size);
    const unsigned wrap = in.Byte();
    const std::string_view initial = in.Bytes(in.Byte() * 4);

    TEditFixture f;
    if (wrap & 1) f.SetWrap(static_cast<int>(20 + wrap % 60));
    f.SetText(initial);
    std::string ref = f.Text();
    std::vector<std::string> history{ref};
    std::size_t at = 0;
    const auto length = [&] { return static_cast<std::int64_t>(ref.size()); };

    for (int step = 0; step < 300 && !in.Empty(); ++step) {
        switch (in.Byte() % 7) {
            case 0:
            case 1: {  // select by offsets
                const std::int64_t start = in.Word() % (length() + 1);
                f.model.SetSelStart(start);
                f.model.SetSelLength(in.Word() % (length() - f.model.SelStart() + 1));
                break;
            }
            case 2:
            case 3: {  // replace the selection, or type at the caret
                const std::string text(in.Bytes(in.Byte() % 12));
                const bool selected = f.model.SelAvail();
                const std::int64_t start = f.model.SelStart(), count = f.model.SelLength();
                const int records = f.rows.UndoObj().UndoCount();
                if (in.Byte() & 1) {
                    f.model.SetSelText(text);
                } else {
                    f.model.InsertText(text);
                }
                if (selected || !text.empty())
                    ref.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(count), rowtest::NormalizeBreaks(text));
                if (f.rows.UndoObj().UndoCount() != records) {
                    history.resize(at + 1);
                    history.push_back(ref);
                    ++at;
                }
                break;
            }
            case 4:
                if (f.rows.UndoObj().CanUndo() && at > 0) {
                    f.Undo();
                    ref = history[--at];
                }
                break;
            case 5:
                if (f.rows.UndoObj().CanRedo() && at + 1 < history.size()) {
                    f.model.CleanSelection();
                    f.rows.Redo();
                    ref = history[++at];
                }
                break;
            default:  // switching word wrap clears the undo store
                if (f.rows.WordWrap()) {
                    f.rows.SetWordWrap(false);
                } else {
                    f.SetWrap(static_cast<int>(20 + in.Byte() % 60));
                }
                history = {ref};
                at = 0;
                break;
        }
        FUZZ_CHECK(f.Text() == ref);
        FUZZ_CHECK(CaretPlace(f.rows, f.model.PositionToOffset(f.model.Row(), f.model.CaretByte())));
        FUZZ_CHECK(f.model.TextLength() == length());
    }
    while (f.rows.UndoObj().CanUndo() && at > 0) {
        f.Undo();
        --at;
    }
    FUZZ_CHECK(f.Text() == history.front());
    return 0;
}
