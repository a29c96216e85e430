// The token scanner on arbitrary text with fuzz-chosen options: URL, mail and character-code recognition,
// a commenter, a hex prefix, a quotation, up to 14 bracket pairs and reserved words, and a fuzz-chosen
// row state to start from (entry kind, bracket state).
//
// What must hold for any text:
// - the scan ends, every token but the last takes at least one byte, tokens follow one another, stay inside
//   the text and only blanks lie between them;
// - no token edge falls inside a two-byte character (a lead byte and a trail byte that may follow it);
// - the bracket state stays a pair's index, -1, or -2 when bracket detection was off;
// - a scanner started afresh at a token's start, with the bracket state before it, yields the same token
//   (so no recogniser depends on what it saw before, and the shortcuts that skip re-tests are sound);
// - IsReserveWord agrees with a plain search of the reserved words; kinds with a colour class get one.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "editor/options/EditorViewInfo.h"
#include "editor/scan/EditorParser.h"
#include "fuzz/FuzzCheck.h"
#include "text/ShiftJis.h"

namespace {

class TInput {
public:
    TInput(const std::uint8_t* data, std::size_t size) : FData(data), FSize(size) {}
    unsigned Byte() { return FPos < FSize ? FData[FPos++] : 0; }
    // A short piece: a length byte (0..7), then that many bytes.
    std::string Piece() {
        std::size_t n = std::min<std::size_t>(Byte() % 8, FSize - FPos);
        std::string s(reinterpret_cast<const char*>(FData) + FPos, n);
        FPos += n;
        return s;
    }
    std::string Rest() {
        std::string s(reinterpret_cast<const char*>(FData) + FPos, FSize - FPos);
        FPos = FSize;
        return s;
    }

private:
    const std::uint8_t* FData;
    std::size_t FSize;
    std::size_t FPos = 0;
};

bool IsBlank(unsigned char c) {
    return (c >= 0x01 && c <= 0x08) || (c >= 0x0A && c <= 0x20);
}

// Kinds that carry a colour class.
bool HasColourClass(int kind) {
    return kind == tokSymbol || kind == tokInteger || kind == tokFloat || kind == tokComment || kind == tokWord ||
           (kind >= tokWideSymbol && kind <= tokReserved && kind != tokCR);
}

bool SameWord(std::string_view a, std::string_view b) {
    return TEditorParser::CompareReserveWord(a, b) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TInput in(data, size);
    const unsigned flags = in.Byte();
    TEditorViewInfo view;
    view.SetUrl(flags & 1);
    view.SetMail(flags & 2);
    view.SetControlCode(flags & 4);
    const bool withView = (flags & 8) != 0;
    view.SetCommenter(in.Piece());
    view.SetHexPrefix(in.Piece());
    view.SetQuotation(in.Piece());
    const int pairs = std::min<int>(static_cast<int>(flags >> 4), 14);
    for (int i = 0; i < pairs; ++i) {
        std::string left = in.Piece();
        view.Brackets().Add(std::move(left), in.Piece());
    }
    std::vector<std::string> words;
    for (unsigned n = in.Byte() % 6; n > 0; --n) words.push_back(in.Piece());
    const TReserveWordList reserved = TEditorParser::SortReserveWords(words);
    const int entryKind = static_cast<int>(in.Byte() % 32);  // kinds 27..31 are out of range: ignored
    const int startBracket = static_cast<int>(in.Byte() % 18) - 2;  // -2..15: past the pairs too
    std::string text = in.Rest();
    text.resize(std::strlen(text.c_str()));  // the scanner stops at the first NUL
    const std::size_t n = text.size();

    TScanOptions options;
    if (withView) {
        options.View = &view;
        options.ReserveWords = &reserved;
    }
    // Character starts, by the editor's rule: a lead byte and a possible trail byte form one character.
    std::vector<bool> charStart(n + 1, true);
    for (std::size_t i = 0; i + 1 < n; ++i)
        if (charStart[i] && sjis::IsLeadByte(text[i]) && sjis::IsTrailByte(text[i + 1])) charStart[i + 1] = false;

    TEditorParser parser(text.c_str(), options, startBracket, entryKind);
    std::size_t end = 0;  // end of the previous token
    int bracketBefore = startBracket;
    const bool bracketsOff = startBracket == kBracketNotScanned;
    for (std::size_t count = 0;; ++count) {
        FUZZ_CHECK(count <= n + 1);
        const int kind = parser.Kind();
        const std::size_t offset = static_cast<std::size_t>(parser.TokenOffset());
        const std::size_t length = static_cast<std::size_t>(parser.TokenLength());
        FUZZ_CHECK(offset >= end && offset + length <= n);
        for (std::size_t i = end; i < offset; ++i) FUZZ_CHECK(IsBlank(static_cast<unsigned char>(text[i])));
        const int bracket = parser.Bracket();
        if (bracketsOff || !withView) {
            FUZZ_CHECK(bracket == startBracket);
        } else {
            FUZZ_CHECK(bracket == bracketBefore || bracket == kBracketNone ||
                       (bracket >= 0 && bracket < view.Brackets().Count()));
        }
        if (kind == tokNone) break;
        FUZZ_CHECK(length > 0);
        FUZZ_CHECK(charStart[offset] && charStart[offset + length]);

        if (withView) {
            const bool expected = kind != tokBracket && kind != tokComment &&
                                  std::any_of(reserved.begin(), reserved.end(), [&](const std::string& w) {
                                      return SameWord(w, parser.TokenString());
                                  });
            FUZZ_CHECK(parser.IsReserveWord() == expected);
            if (HasColourClass(kind)) FUZZ_CHECK(parser.TokenColor() != nullptr);
        } else {
            FUZZ_CHECK(parser.TokenColor() == nullptr);
        }

        // The same token from a fresh scanner at its start. The first token may continue a row state, and
        // a stray lead byte keeps the kind of the token before it, so only its length is compared then.
        if (count > 0 || entryKind == tokNone) {
            TEditorParser fresh(text.c_str() + offset, options, bracketBefore, tokNone);
            FUZZ_CHECK(fresh.TokenOffset() == 0);
            FUZZ_CHECK(static_cast<std::size_t>(fresh.TokenLength()) == length);
            const bool strayLead = length == 1 && sjis::IsLeadByte(text[offset]);
            if (!strayLead) FUZZ_CHECK(fresh.Kind() == kind);
            FUZZ_CHECK(fresh.Bracket() == parser.Bracket());
        }
        end = offset + length;
        bracketBefore = parser.Bracket();
        parser.NextToken();
    }
    return 0;
}
