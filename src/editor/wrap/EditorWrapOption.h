// Word-wrap options of a row list: the wrap width and the Japanese line-breaking (kinsoku) rules.
//
// Every setter stores the value and notifies only when it differs; Assign copies all eight values and
// notifies once. The three character strings are Shift-JIS; each character in them is one byte or one
// two-byte character.
#pragma once

#include <string>
#include <string_view>

#include "editor/options/NotifyPersistent.h"

class TEditorWrapOption : public TNotifyPersistent {
public:
    static constexpr int kMinWrapByte = 20;
    static constexpr int kMaxWrapByte = 250;
    static constexpr int kDefaultWrapByte = 80;

    // Defaults: 、。，．・？！゛゜ヽヾゝゞ々ー）］｝」』!),.:;?]}｡｣､･ｰﾞﾟ / （［｛「『([{｢ / 、。，．,.｡､
    static const std::string& DefaultFollowStr();
    static const std::string& DefaultLeadStr();
    static const std::string& DefaultPunctuationStr();

    TEditorWrapOption();

    // When a line fills its last row exactly, the line break stays on that row instead of an empty row.
    bool FollowRetMark() const { return FFollowRetMark; }
    void SetFollowRetMark(bool value);
    // Let characters of PunctuationStr hang up to two columns past the margin.
    bool FollowPunctuation() const { return FFollowPunctuation; }
    void SetFollowPunctuation(bool value);
    // Characters that may not begin a row.
    const std::string& FollowStr() const { return FFollowStr; }
    void SetFollowStr(std::string_view value);
    // Apply the LeadStr and FollowStr rules.
    bool Leading() const { return FLeading; }
    void SetLeading(bool value);
    // Characters that may not end a row.
    const std::string& LeadStr() const { return FLeadStr; }
    void SetLeadStr(std::string_view value);
    // Punctuation that may hang past the margin.
    const std::string& PunctuationStr() const { return FPunctuationStr; }
    void SetPunctuationStr(std::string_view value);
    // Do not cut single-byte words.
    bool WordBreak() const { return FWordBreak; }
    void SetWordBreak(bool value);
    // Row width in display columns, clamped to 20..250.
    int WrapByte() const { return FWrapByte; }
    void SetWrapByte(int value);

    void Assign(const TEditorWrapOption& source);

    // True when ch (one character: one byte, or a lead and a trail byte) occurs in set at a character
    // boundary. An empty ch is never a member.
    static bool IsMember(std::string_view ch, std::string_view set) noexcept;

private:
    bool FFollowRetMark = false;
    bool FFollowPunctuation = false;
    std::string FFollowStr;
    bool FLeading = false;
    std::string FLeadStr;
    std::string FPunctuationStr;
    bool FWordBreak = false;
    int FWrapByte = kDefaultWrapByte;
};
