#include "editor/scan/EditorParser.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "editor/options/EditorViewInfo.h"

namespace {

// Byte classes of the scanner, one bit each.
enum : std::uint8_t {
    kDigit = 0x01,  // '0'..'9'
    kWord = 0x02,   // letters, digits, '_'
    kHex = 0x04,    // hex digits
    kUrl = 0x08,    // bytes of a URL
    kMail = 0x10,   // bytes of a mail address
};

constexpr std::array<std::uint8_t, 256> MakeClasses() {
    std::array<std::uint8_t, 256> t{};
    for (int c = '0'; c <= '9'; ++c) t[c] |= kDigit | kWord | kHex | kUrl | kMail;
    for (int c = 'A'; c <= 'Z'; ++c) t[c] |= kWord | kUrl | kMail;
    for (int c = 'a'; c <= 'z'; ++c) t[c] |= kWord | kUrl | kMail;
    for (int c = 'A'; c <= 'F'; ++c) t[c] |= kHex;
    for (int c = 'a'; c <= 'f'; ++c) t[c] |= kHex;
    t['_'] |= kWord | kUrl | kMail;
    for (unsigned char c : std::string_view("#%&+-./:=?~")) t[c] |= kUrl;
    for (unsigned char c : std::string_view("!$%&*,-./;=?@^~")) t[c] |= kMail;
    return t;
}

constexpr std::array<std::uint8_t, 256> kClasses = MakeClasses();

inline bool Is(unsigned char c, std::uint8_t cls) {
    return (kClasses[c] & cls) != 0;
}
inline bool Is(const char* p, std::uint8_t cls) {
    return Is(static_cast<unsigned char>(*p), cls);
}

inline unsigned char Byte(const char* p, int offset = 0) {
    return static_cast<unsigned char>(p[offset]);
}

inline unsigned char FoldCase(unsigned char c) {
    return (c >= 'a' && c <= 'z') ? c - ('a' - 'A') : c;
}

// True when s ends with the first byte of a two-byte character (the lead byte of its last character).
bool EndsInsideCharacter(std::string_view s) {
    bool trail = false;
    for (char c : s) trail = !trail && sjis::IsLeadByte(c);
    return trail;
}

// True when text at p starts with s, byte for byte. Never reads past the text's terminating NUL. An s that
// ends with a lead byte does not match where the text goes on with its trail byte: the match would end
// inside a character, and so would the token that follows it.
bool MatchAt(const char* p, std::string_view s) {
    for (std::size_t i = 0; i < s.size(); ++i)
        if (p[i] == '\0' || p[i] != s[i]) return false;
    if (EndsInsideCharacter(s) && sjis::IsTrailByte(p[s.size()])) return false;
    return !s.empty();
}

// As MatchAt, with ASCII letters compared without regard to case (trail bytes of two-byte characters,
// which may look like letters, are compared as they are).
bool MatchAtNoCase(const char* p, std::string_view s) {
    bool trail = false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        unsigned char x = Byte(p, static_cast<int>(i));
        unsigned char y = static_cast<unsigned char>(s[i]);
        if (x == 0) return false;
        if (!trail) {
            x = FoldCase(x);
            y = FoldCase(y);
        }
        if (x != y) return false;
        trail = !trail && sjis::IsLeadByte(x);
    }
    if (trail && sjis::IsTrailByte(p[s.size()])) return false;  // as in MatchAt
    return !s.empty();
}

inline bool InRange(unsigned char c, unsigned char lo, unsigned char hi) {
    return c >= lo && c <= hi;
}

}  // namespace

TEditorParser::TEditorParser(const char* text) {
    ResetScan(text, TScanOptions{}, tokNone, kBracketNotScanned);
    FTableBuilt = false;  // a derived class builds its own table at its first ResetScan
}

TEditorParser::TEditorParser(const TScanOptions& options, int bracket)
    : FOptions(options), FView(options.View), FBracket(bracket) {}

TEditorParser::TEditorParser(const char* text, const TScanOptions& options, int bracket, int entryKind) {
    ResetScan(text, options, entryKind, bracket);
    FTableBuilt = false;
}

void TEditorParser::InitTable() {
    for (int c = 0; c < 256; ++c) FTable[c] = &TEditorParser::SymbolProc;
    // Token kinds 1..26 (bytes that never start a token, except TAB, LF and CR).
    FTable[tokNone] = &TEditorParser::EndProc;
    FTable[tokInteger] = &TEditorParser::NumberProc;
    FTable[tokFloat] = &TEditorParser::NumberProc;
    FTable[tokBracket] = &TEditorParser::BracketProc;
    FTable[tokComment] = &TEditorParser::CommentProc;
    FTable[tokWord] = &TEditorParser::WordProc;
    FTable[tokTab] = &TEditorParser::TabProc;
    FTable[tokLF] = &TEditorParser::LFProc;
    FTable[tokWideSymbol] = &TEditorParser::WideSymbolProc;
    FTable[tokCR] = &TEditorParser::CRProc;
    for (int k : {tokWideDigits, tokWideLatin, tokHiragana, tokKatakana})
        FTable[k] = &TEditorParser::WideCharProc;
    FTable[tokKanji] = &TEditorParser::KanjiProc;
    FTable[tokHalfKanaPunct] = &TEditorParser::HalfKanaPunctProc;
    FTable[tokHalfKana] = &TEditorParser::HalfKanaProc;
    FTable[tokUrl] = &TEditorParser::UrlProc;
    FTable[tokMail] = &TEditorParser::MailProc;
    FTable[tokHexNumber] = &TEditorParser::HexProc;
    FTable[tokString] = &TEditorParser::StringProc;
    FTable[tokCharCode] = &TEditorParser::CharCodeProc;
    FTable[tokHexCharCode] = &TEditorParser::HexCharCodeProc;
    FTable[tokReserved] = &TEditorParser::ReserveWordProc;
    // First bytes.
    for (int c = '0'; c <= '9'; ++c) FTable[c] = &TEditorParser::NumberProc;
    for (int c = 'A'; c <= 'Z'; ++c) FTable[c] = &TEditorParser::WordProc;
    for (int c = 'a'; c <= 'z'; ++c) FTable[c] = &TEditorParser::WordProc;
    FTable[static_cast<unsigned char>('_')] = &TEditorParser::WordProc;
    FTable[0x81] = &TEditorParser::WideSymbolProc;
    FTable[0x82] = &TEditorParser::WideCharProc;
    FTable[0x83] = &TEditorParser::WideCharProc;
    for (int c = 0x84; c <= 0x87; ++c) FTable[c] = &TEditorParser::WideSymbolProc;
    for (int c = 0x88; c <= 0x9F; ++c) FTable[c] = &TEditorParser::KanjiProc;
    for (int c = 0xE0; c <= 0xFC; ++c) FTable[c] = &TEditorParser::KanjiProc;
    for (int c = 0xA1; c <= 0xA5; ++c) FTable[c] = &TEditorParser::HalfKanaPunctProc;
    for (int c = 0xA6; c <= 0xDF; ++c) FTable[c] = &TEditorParser::HalfKanaProc;
}

void TEditorParser::ResetScan(const char* text, const TScanOptions& options, int entryKind, int bracket) {
    if (!FTableBuilt) {
        InitTable();
        FTableBuilt = true;
    }
    FText = text ? text : "";
    FTokenStart = FPos = FText;
    FOptions = options;
    FView = options.View;
    FEntryKind = (entryKind > tokNone && entryKind < kTokenKindCount) ? entryKind : tokNone;
    FBracket = bracket;
    FBracketIndex = kBracketNotScanned;
    FKind = tokNone;
    FNoMailBefore = nullptr;
    NextToken();
}

int TEditorParser::NextToken() {
    SkipBlanks();
    FTokenStart = FPos;
    const unsigned char c = Current();
    if (IsEnd(c)) {
        FKind = tokNone;
        return FKind;
    }
    if (FEntryKind != tokNone) {
        const int entry = FEntryKind;
        FEntryKind = tokNone;
        Dispatch(static_cast<unsigned>(entry));
        // A continuation that does not apply here (nothing taken) falls back to an ordinary token, so a
        // stale row state can never hide the rest of a row.
        if (FPos != FTokenStart) return FKind;
        FKind = tokNone;
    }
    if (!FView) {
        Dispatch(c);
    } else if (IsLeftBracket()) {
        BracketProc();
    } else if (IsMailAddress()) {
        MailProc();
    } else if (IsUrlPrefix()) {
        UrlProc();
    } else if (IsCommenter()) {
        CommentProc();
    } else if (IsQuotation()) {
        StringProc();
    } else if (IsHexCharCodePrefix()) {
        HexCharCodeProc();
    } else if (IsCharCodePrefix()) {
        CharCodeProc();
    } else if (IsHexPrefix()) {
        HexProc();
    } else {
        Dispatch(c);
    }
    // Every token takes at least one byte, so that a scan always advances.
    if (FPos == FTokenStart && FKind != tokNone && !IsEnd(Current())) SkipChar();
    return FKind;
}

void TEditorParser::SkipBlanks() {
    for (;;) {
        const unsigned char c = Current();
        if ((c >= 0x01 && c <= 0x08) || (c >= 0x0A && c <= 0x20))
            ++FPos;
        else
            return;
    }
}

bool TEditorParser::IsLeftBracket() {
    if (!FView || FBracket == kBracketNotScanned) return false;
    const TEditorBracketCollection& brackets = FView->Brackets();
    for (int i = 0; i < brackets.Count(); ++i) {
        const TEditorBracketItem& item = brackets[i];
        // A pair without a right bracket could never close: it is not recognised at all.
        if (item.RightBracket().empty()) continue;
        if (MatchAt(FPos, item.LeftBracket())) {
            FBracket = i;
            FPos += item.LeftBracket().size();
            return true;
        }
    }
    return false;
}

void TEditorParser::BracketProc() {
    const TEditorBracketCollection* brackets = FView ? &FView->Brackets() : nullptr;
    if (!brackets || FBracket < 0 || FBracket >= brackets->Count() ||
        (*brackets)[FBracket].RightBracket().empty()) {
        FKind = tokNone;
        return;
    }
    FKind = tokBracket;
    FBracketIndex = FBracket;
    const std::string& right = (*brackets)[FBracket].RightBracket();
    while (!IsEnd(Current())) {
        if (MatchAt(FPos, right)) {
            FPos += right.size();
            FBracket = kBracketNone;
            return;
        }
        SkipChar();
    }
}

// A mail address starts with a mail-set byte other than '@'; the test succeeds at the first '.' after an
// '@' within one run of mail-set bytes. When it fails, no later start within the same run can succeed
// (any '@' and '.' after that start were seen by the failed test), so the run's end is remembered and the
// tokens of a long run are not re-tested.
bool TEditorParser::IsMailAddress() {
    if (!FView || !FView->Mail()) return false;
    const char* p = FPos;
    if (p < FNoMailBefore) return false;
    if (!Is(p, kMail) || *p == '@') return false;
    bool seenAt = false;
    for (++p;; ++p) {
        if (!Is(p, kMail)) {
            FNoMailBefore = p;
            return false;
        }
        if (*p == '@') {
            seenAt = true;
        } else if (*p == '.' && seenAt) {
            FPos = p + 1;
            return true;
        }
    }
}

void TEditorParser::MailProc() {
    FKind = tokMail;
    while (Is(FPos, kMail)) ++FPos;
}

bool TEditorParser::IsUrlPrefix() {
    if (!FView || !FView->Url()) return false;
    const unsigned char c = Current();
    if (c != 'h' && c != 'f' && c != 'w') return false;
    for (std::string_view prefix : {"http:", "https:", "ftp:", "www."}) {
        if (MatchAt(FPos, prefix)) {
            FPos += prefix.size();
            return true;
        }
    }
    return false;
}

void TEditorParser::UrlProc() {
    FKind = tokUrl;
    while (Is(FPos, kUrl)) ++FPos;
}

bool TEditorParser::IsCommenter() {
    if (!FView) return false;
    const std::string& commenter = FView->Commenter();
    if (!MatchAt(FPos, commenter)) return false;
    FPos += commenter.size();
    return true;
}

void TEditorParser::CommentProc() {
    FKind = tokComment;
    while (!IsEnd(Current())) ++FPos;
}

// The quote character is one byte. A lead byte (all that is kept of a two-byte quote such as 「) never
// stands alone in a text: taken as a quote it would start strings at the first half of every character
// with that lead byte, so it quotes nothing.
static bool UsableQuote(const TEditorViewInfo* view) {
    return view && !view->Quotation().empty() && !sjis::IsLeadByte(view->Quotation()[0]);
}

bool TEditorParser::IsQuotation() {
    if (!UsableQuote(FView)) return false;
    if (*FPos != FView->Quotation()[0]) return false;
    ++FPos;
    return true;
}

void TEditorParser::StringProc() {
    FKind = tokString;
    // Without a quote character (no editor, or no usable one) the string runs to the end.
    const bool hasQuote = UsableQuote(FView);
    const char quote = hasQuote ? FView->Quotation()[0] : '\0';
    while (!IsEnd(Current())) {
        if (hasQuote && *FPos == quote) {
            if (FPos[1] == quote) {
                FPos += 2;
                continue;
            }
            ++FPos;
            return;
        }
        SkipChar();
    }
}

bool TEditorParser::IsHexPrefix() {
    if (!FView) return false;
    const std::string& prefix = FView->HexPrefix();
    if (!MatchAtNoCase(FPos, prefix)) return false;
    FPos += prefix.size();
    return true;
}

void TEditorParser::HexProc() {
    FKind = tokHexNumber;
    while (Is(FPos, kHex)) ++FPos;
}

bool TEditorParser::IsHexCharCodePrefix() {
    if (!FView || !FView->ControlCode()) return false;
    if (FPos[0] != '#' || FPos[1] != '$') return false;
    FPos += 2;
    return true;
}

void TEditorParser::HexCharCodeProc() {
    FKind = tokHexCharCode;
    while (Is(FPos, kHex)) ++FPos;
}

bool TEditorParser::IsCharCodePrefix() {
    if (!FView || !FView->ControlCode()) return false;
    if (*FPos != '#') return false;
    ++FPos;
    return true;
}

void TEditorParser::CharCodeProc() {
    FKind = tokCharCode;
    while (Is(FPos, kDigit)) ++FPos;
}

void TEditorParser::ReserveWordProc() {
    const unsigned char c = Current();
    // The routine for the current byte; the byte cannot name this routine again (bytes 1..26 other than
    // TAB, LF and CR are blanks), but a derived table might.
    if (FTable[c] != &TEditorParser::ReserveWordProc) Dispatch(c);
    FKind = tokReserved;
}

void TEditorParser::EndProc() {
    FKind = tokNone;
}

void TEditorParser::TabProc() {
    FKind = tokTab;
    if (*FPos == '\t') ++FPos;
}

void TEditorParser::LFProc() {
    FKind = tokNone;
    if (*FPos == '\n') ++FPos;
}

void TEditorParser::CRProc() {
    FKind = tokNone;
    if (*FPos == '\r') {
        ++FPos;
        if (*FPos == '\n') ++FPos;
    }
}

void TEditorParser::NumberProc() {
    // After the exponent letter: a sign and digits, or digits; otherwise the letter stands alone.
    auto exponent = [this] {
        if ((*FPos == '+' || *FPos == '-') && Is(FPos + 1, kDigit))
            ++FPos;
        else if (!Is(FPos, kDigit))
            return;
        while (Is(FPos, kDigit)) ++FPos;
    };
    auto isExponentLetter = [](char c) { return c == 'E' || c == 'e'; };

    FKind = tokInteger;
    while (Is(FPos, kDigit)) ++FPos;
    if (*FPos == '.') {
        FKind = tokFloat;
        if (Is(FPos + 1, kDigit)) {
            ++FPos;
            while (Is(FPos, kDigit)) ++FPos;
            if (isExponentLetter(*FPos)) {
                ++FPos;
                exponent();
            }
        } else if (isExponentLetter(FPos[1])) {
            FPos += 2;
            exponent();
        }
    } else if (isExponentLetter(*FPos)) {
        FKind = tokFloat;
        ++FPos;
        exponent();
    }
}

void TEditorParser::WordProc() {
    FKind = tokWord;
    while (Is(FPos, kWord)) ++FPos;
}

void TEditorParser::WideSymbolProc() {
    FKind = tokWideSymbol;
    const unsigned char lead = Byte(FPos);
    const unsigned char trail = Byte(FPos, 1);
    bool take = false;
    if (lead == 0x81 || InRange(lead, 0x84, 0x87)) {
        take = true;
    } else if (lead == 0x83) {
        take = trail >= 0x97;  // as in WideCharProc, unassigned codes above 0xF0 are taken whole
    } else if (lead == 0x82) {
        take = InRange(trail, 0x40, 0x4E) || InRange(trail, 0x59, 0x5F) || InRange(trail, 0x7A, 0x80) ||
               InRange(trail, 0x9B, 0x9E) || trail >= 0xF2;
    }
    if (take) SkipChar();
}

void TEditorParser::WideCharProc() {
    auto at = [this](unsigned char lead, unsigned char lo, unsigned char hi) {
        return Byte(FPos) == lead && InRange(Byte(FPos, 1), lo, hi);
    };
    auto isLongVowel = [this] {  // "ー" 0x815B and 0x817C continue kana runs
        return Byte(FPos) == 0x81 && (Byte(FPos, 1) == 0x5B || Byte(FPos, 1) == 0x7C);
    };
    const unsigned char lead = Byte(FPos);
    const unsigned char trail = Byte(FPos, 1);
    if (lead == 0x82) {
        if (InRange(trail, 0x4F, 0x58)) {
            FKind = tokWideDigits;
            FPos += 2;
            while (at(0x82, 0x4F, 0x58) || at(0x81, 0x43, 0x44)) FPos += 2;
        } else if (InRange(trail, 0x60, 0x79) || InRange(trail, 0x81, 0x9A)) {
            FKind = tokWideLatin;
            FPos += 2;
            while (at(0x82, 0x60, 0x79) || at(0x82, 0x81, 0x9A)) FPos += 2;
        } else if (InRange(trail, 0x9F, 0xF1)) {
            FKind = tokHiragana;
            FPos += 2;
            while (at(0x82, 0x9F, 0xF1) || isLongVowel()) FPos += 2;
        } else if (trail >= 0x40) {
            FKind = tokWideSymbol;
            FPos += 2;
        } else {
            TakeStrayLead();
        }
    } else if (lead == 0x83) {
        if (InRange(trail, 0x40, 0x96)) {
            FKind = tokKatakana;
            FPos += 2;
            while (at(0x83, 0x40, 0x96) || isLongVowel()) FPos += 2;
        } else if (trail >= 0x97) {
            // 0x97..0xF0 are symbols; 0xF1 and above are unassigned codes, still one character each, so
            // that the tokens stay on character boundaries.
            FKind = tokWideSymbol;
            FPos += 2;
        } else {
            TakeStrayLead();
        }
    }
    // Any other byte (a continuation that does not apply): nothing is taken.
}

void TEditorParser::TakeStrayLead() {
    // A lead byte without a valid trail: the byte alone keeps the kind of the previous token. At the start
    // of a scan there is none, and tokNone would end the row's scan here: it becomes a symbol.
    if (FKind == tokNone) FKind = tokSymbol;
    ++FPos;
}

void TEditorParser::KanjiProc() {
    FKind = tokKanji;
    for (;;) {
        const unsigned char lead = Byte(FPos);
        if (!InRange(lead, 0x88, 0x9F) && !InRange(lead, 0xE0, 0xFC)) return;
        if (IsEnd(Byte(FPos, 1))) {
            ++FPos;  // a lead byte at the end stands alone
            return;
        }
        FPos += 2;
    }
}

void TEditorParser::HalfKanaPunctProc() {
    FKind = tokHalfKanaPunct;
    if (InRange(Current(), 0xA1, 0xA5)) ++FPos;
}

void TEditorParser::HalfKanaProc() {
    FKind = tokHalfKana;
    while (InRange(Current(), 0xA6, 0xDF)) ++FPos;
}

void TEditorParser::SymbolProc() {
    FKind = tokSymbol;
    // One byte: no symbol byte of the table is a lead byte, but a continued token may meet one.
    if (!IsEnd(Current())) SkipChar();
}

bool TEditorParser::IsReserveWord() const {
    if (!FOptions.ReserveWords || FKind == tokBracket || FKind == tokComment || FPos == FTokenStart)
        return false;
    return FindReserveWord(*FOptions.ReserveWords, TokenString());
}

const TEditorColor* TEditorParser::TokenColor() const {
    if (!FView) return nullptr;
    const TEditorColors& colors = FView->Colors();
    if (IsReserveWord()) return &colors.Reserve();
    switch (FKind) {
        case tokSymbol:
            return &colors.Symbol();
        case tokInteger:
        case tokFloat:
        case tokHexNumber:
            return &colors.Int();
        case tokBracket: {
            const TEditorBracketCollection& brackets = FView->Brackets();
            if (FBracketIndex < 0 || FBracketIndex >= brackets.Count()) return nullptr;
            return &brackets[FBracketIndex].ItemColor();
        }
        case tokComment:
            return &colors.Comment();
        case tokWord:
            return &colors.Ank();
        case tokWideSymbol:
        case tokWideDigits:
        case tokWideLatin:
        case tokHiragana:
        case tokKatakana:
        case tokKanji:
        case tokHalfKanaPunct:
        case tokHalfKana:
            return &colors.DBCS();
        case tokUrl:
            return &colors.Url();
        case tokMail:
            return &colors.Mail();
        case tokString:
        case tokCharCode:
        case tokHexCharCode:
            return &colors.Str();
        case tokReserved:
            return &colors.Reserve();
        default:
            return nullptr;
    }
}

int TEditorParser::CompareReserveWord(std::string_view a, std::string_view b) noexcept {
    const std::size_t n = std::min(a.size(), b.size());
    bool trail = false;  // at the second byte of a two-byte character (the same in both while equal)
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (!trail) {
            x = FoldCase(x);
            y = FoldCase(y);
        }
        if (x != y) return x < y ? -1 : 1;
        trail = !trail && sjis::IsLeadByte(x);
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool TEditorParser::FindReserveWord(const TReserveWordList& list, std::string_view word) noexcept {
    auto it = std::lower_bound(
        list.begin(), list.end(), word,
        [](const std::string& item, std::string_view w) { return CompareReserveWord(item, w) < 0; });
    return it != list.end() && CompareReserveWord(*it, word) == 0;
}

TReserveWordList TEditorParser::SortReserveWords(std::vector<std::string> words) {
    const auto less = [](const std::string& a, const std::string& b) { return CompareReserveWord(a, b) < 0; };
    const auto same = [](const std::string& a, const std::string& b) { return CompareReserveWord(a, b) == 0; };
    std::stable_sort(words.begin(), words.end(), less);
    words.erase(std::unique(words.begin(), words.end(), same), words.end());
    return words;
}
