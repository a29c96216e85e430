#include "editor/wrap/EditorWrapOption.h"

#include <algorithm>

#include "text/ShiftJis.h"

namespace {

template <class T>
bool Store(T& field, const T& value) {
    if (field == value) return false;
    field = value;
    return true;
}

}  // namespace

const std::string& TEditorWrapOption::DefaultFollowStr() {
    static const std::string s =
        "\x81\x41\x81\x42\x81\x43\x81\x44\x81\x45\x81\x48\x81\x49\x81\x4A\x81\x4B\x81\x52\x81\x53\x81\x54"
        "\x81\x55\x81\x58\x81\x5B\x81\x6A\x81\x6E\x81\x70\x81\x76\x81\x78"
        "!),.:;?]}"
        "\xA1\xA3\xA4\xA5\xB0\xDE\xDF";
    return s;
}

const std::string& TEditorWrapOption::DefaultLeadStr() {
    static const std::string s = "\x81\x69\x81\x6D\x81\x6F\x81\x75\x81\x77([{\xA2";
    return s;
}

const std::string& TEditorWrapOption::DefaultPunctuationStr() {
    static const std::string s = "\x81\x41\x81\x42\x81\x43\x81\x44,.\xA1\xA4";
    return s;
}

TEditorWrapOption::TEditorWrapOption()
    : FFollowStr(DefaultFollowStr()), FLeadStr(DefaultLeadStr()), FPunctuationStr(DefaultPunctuationStr()) {}

void TEditorWrapOption::SetFollowRetMark(bool value) {
    if (Store(FFollowRetMark, value)) Changed();
}
void TEditorWrapOption::SetFollowPunctuation(bool value) {
    if (Store(FFollowPunctuation, value)) Changed();
}
void TEditorWrapOption::SetFollowStr(std::string_view value) {
    if (Store(FFollowStr, std::string(value))) Changed();
}
void TEditorWrapOption::SetLeading(bool value) {
    if (Store(FLeading, value)) Changed();
}
void TEditorWrapOption::SetLeadStr(std::string_view value) {
    if (Store(FLeadStr, std::string(value))) Changed();
}
void TEditorWrapOption::SetPunctuationStr(std::string_view value) {
    if (Store(FPunctuationStr, std::string(value))) Changed();
}
void TEditorWrapOption::SetWordBreak(bool value) {
    if (Store(FWordBreak, value)) Changed();
}
void TEditorWrapOption::SetWrapByte(int value) {
    if (Store(FWrapByte, std::clamp(value, kMinWrapByte, kMaxWrapByte))) Changed();
}

void TEditorWrapOption::Assign(const TEditorWrapOption& source) {
    if (&source != this) {
        FFollowRetMark = source.FFollowRetMark;
        FFollowPunctuation = source.FFollowPunctuation;
        FFollowStr = source.FFollowStr;
        FLeading = source.FLeading;
        FLeadStr = source.FLeadStr;
        FPunctuationStr = source.FPunctuationStr;
        FWordBreak = source.FWordBreak;
        FWrapByte = source.FWrapByte;
    }
    Changed();
}

bool TEditorWrapOption::IsMember(std::string_view ch, std::string_view set) noexcept {
    if (ch.empty()) return false;
    for (std::size_t i = 0; i < set.size(); i = sjis::NextCharPos(set, i)) {
        const std::size_t len = sjis::CharLength(set, i);
        if (len == ch.size() && set.compare(i, len, ch) == 0) return true;
    }
    return false;
}
