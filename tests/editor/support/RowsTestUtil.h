// Helpers shared by the row-list tests.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "editor/rows/EditorScreenStrings.h"

namespace rowtest {

// Shift-JIS characters used in the tests.
inline const std::string kA = "\x82\xA0";         // あ (hiragana)
inline const std::string kKan = "\x8A\xBF";       // 漢
inline const std::string kTouten = "\x81\x41";    // 、
inline const std::string kKuten = "\x81\x42";     // 。
inline const std::string kKakko = "\x81\x75";     // 「
inline const std::string kKakkoEnd = "\x81\x76";  // 」

// Rows as "text|L" (reLineBreak), "text|W" (reWrapped), "text|E" (reEndOfText).
inline std::vector<std::string> Dump(const TPointerStringList& rows) {
    std::vector<std::string> out;
    for (int r = 0; r < rows.Count(); ++r) {
        const char* code = "LWEN";
        out.push_back(rows.Get(r) + "|" + code[rows.RowEnd(r) & 3]);
    }
    return out;
}

// Appends rows given as in Dump.
inline void Fill(TPointerStringList& rows, const std::vector<std::string>& rowTexts) {
    for (const std::string& s : rowTexts) {
        const std::size_t bar = s.rfind('|');
        const int r = rows.Add(s.substr(0, bar));
        const char c = s[bar + 1];
        rows.SetRowEnd(r, c == 'W' ? reWrapped : c == 'E' ? reEndOfText : reLineBreak);
    }
}

// The logical text of the rows: CR LF after every reLineBreak row.
inline std::string Text(const TEditorScreenStrings& rows) {
    return rows.RowsText(0, rows.Count()).Text;
}

inline std::string Repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

// CR LF, a lone CR and a lone LF all become CR LF, as the rows store them.
inline std::string NormalizeBreaks(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' || s[i] == '\n') {
            out += "\r\n";
            if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
        } else {
            out += s[i];
        }
    }
    return out;
}

}  // namespace rowtest
