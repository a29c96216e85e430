#include "editor/options/EditorCursors.h"

#include <string>
#include <vector>

namespace {

// Registered cursor names; index i holds cursor number i + 1.
std::vector<std::string>& CursorNames() {
    static std::vector<std::string> names;
    return names;
}

constexpr int kMaxCursor = 32767;

// The editor's two cursors are taken on first use, in a fixed order.
struct TEditorCursorSlots {
    TCursor RightArrow = TEditorCursors::RegisterCursor("RightArrow");
    TCursor DragSelCopy = TEditorCursors::RegisterCursor("DragSelCopy");
};

const TEditorCursorSlots& Slots() {
    static const TEditorCursorSlots slots;
    return slots;
}

}  // namespace

TEditorCursors::TEditorCursors()
    : FDragSelCopyCursor(DragSelCopyCursorSlot()), FLeftMarginCursor(RightArrowCursor()) {}

void TEditorCursors::Assign(const TEditorCursors& source) {
    FDefaultCursor = source.FDefaultCursor;
    FDragSelCursor = source.FDragSelCursor;
    FDragSelCopyCursor = source.FDragSelCopyCursor;
    FInSelCursor = source.FInSelCursor;
    FLeftMarginCursor = source.FLeftMarginCursor;
    Changed();
}

TCursor TEditorCursors::RightArrowCursor() {
    return Slots().RightArrow;
}
TCursor TEditorCursors::DragSelCopyCursorSlot() {
    return Slots().DragSelCopy;
}

TCursor TEditorCursors::RegisterCursor(std::string_view resourceName) {
    auto& names = CursorNames();
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] == resourceName) return static_cast<TCursor>(i + 1);
    if (static_cast<int>(names.size()) >= kMaxCursor) return crDefault;
    names.emplace_back(resourceName);
    return static_cast<TCursor>(names.size());
}

std::string_view TEditorCursors::RegisteredCursorName(TCursor cursor) {
    const auto& names = CursorNames();
    if (cursor < 1 || cursor > static_cast<int>(names.size())) return {};
    return names[static_cast<std::size_t>(cursor - 1)];
}
