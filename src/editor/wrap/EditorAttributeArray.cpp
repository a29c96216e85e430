#include "editor/wrap/EditorAttributeArray.h"

TEditorAttributeArray::TEditorAttributeArray(std::string_view line, std::string map)
    : FLine(line), FMap(std::move(map)) {
    FMap += '0';
}

void TEditorAttributeArray::Next() noexcept {
    if (Code() == '0') return;
    ++FColumn;
    if (Code() != '3') ++FByteIndex;
}

void TEditorAttributeArray::Prev() noexcept {
    if (FColumn <= 1) return;
    const char left = Code();
    --FColumn;
    if (left != '3') --FByteIndex;
}

void TEditorAttributeArray::PrevChar() noexcept {
    Prev();
    if (Code() == '4') Prev();
}

void TEditorAttributeArray::MoveTo(int c) noexcept {
    while (FColumn < c && Code() != '0') Next();
    while (FColumn > c && FColumn > 1) Prev();
}

std::string_view TEditorAttributeArray::CharAt(char code, int byteIndex) const noexcept {
    const auto at = static_cast<std::size_t>(byteIndex - 1);
    switch (code) {
        case '0':
            return {};
        case '4':
            return at + 2 <= FLine.size() ? FLine.substr(at, 2) : std::string_view();
        case '5':
            return at >= 1 && at < FLine.size() ? FLine.substr(at - 1, 2) : std::string_view();
        default:
            return at < FLine.size() ? FLine.substr(at, 1) : std::string_view();
    }
}

std::string_view TEditorAttributeArray::Current() const noexcept {
    return CharAt(Code(), FByteIndex);
}

std::string_view TEditorAttributeArray::PeekNext() const noexcept {
    if (Code() == '0') return {};
    const char next = FMap[static_cast<std::size_t>(FColumn)];
    return CharAt(next, next == '3' ? FByteIndex : FByteIndex + 1);
}
