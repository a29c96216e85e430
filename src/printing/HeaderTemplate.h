// The codes of header and footer templates, plain C++. A '%' and the character after it form a code:
// %F file name, %f full path, %y year, %m month, %d day, %t time, %p page number. A '%' before any other
// character stands for that character (so "%%" is one percent sign); a '%' at the very end adds nothing.
// Every other character is copied. Templates are Shift-JIS bytes: a two-byte character after '%' is taken
// whole.
#pragma once

#include <string_view>

#include "text/ShiftJis.h"

namespace printing {

constexpr bool IsTemplateCode(char c) {
    return c == 'F' || c == 'f' || c == 'y' || c == 'm' || c == 'd' || c == 't' || c == 'p';
}

// Calls literal(bytes) for the text between codes and code(letter) for each code, in order.
template <class Literal, class Code>
void ParseTemplate(std::string_view text, Literal&& literal, Code&& code) {
    std::size_t runStart = 0;
    std::size_t p = 0;
    while (p < text.size()) {
        if (text[p] != '%') {
            p = sjis::NextCharPos(text, p);
            continue;
        }
        if (p > runStart) literal(text.substr(runStart, p - runStart));
        if (p + 1 >= text.size()) return;
        const std::size_t len = sjis::CharLength(text, p + 1);
        if (IsTemplateCode(text[p + 1])) {
            code(text[p + 1]);
        } else {
            literal(text.substr(p + 1, len));
        }
        p += 1 + len;
        runStart = p;
    }
    if (p > runStart) literal(text.substr(runStart, p - runStart));
}

}  // namespace printing
