// The token scanner: cuts a Shift-JIS text into tokens for colouring.
//
// A scanner reads a NUL-terminated text and yields one token per NextToken: its kind, offset and length
// (bytes from the text start) and, through TokenColor, its colour from the editor's View options. The
// state at a row start (entry kind and bracket state) comes from the row list, so a token or bracket pair
// that runs across rows continues where the previous row left it.
//
// Dispatch goes through one 256-entry table of routines: indexed by a byte it gives the routine that
// scans a token starting with that byte; indexed by a token kind 1..26 it gives the routine that continues
// a token of that kind (bytes 1..26 never start a token, except TAB, LF and CR, whose kinds share their
// byte values). Every recogniser is virtual so that a derived scanner can replace one; the table is built
// by the virtual InitTable at the first ResetScan of a scanner, so that a derived table takes effect.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "editor/scan/ScanOptions.h"
#include "text/ShiftJis.h"

class TEditorColor;
class TEditorViewInfo;

// Token kinds. These numbers are stored in rows: they are part of the row format.
constexpr int tokNone = 0;  // end of the text or of the line
constexpr int tokSymbol = 1;
constexpr int tokInteger = 3;
constexpr int tokFloat = 4;
constexpr int tokBracket = 6;  // a bracket pair with its contents
constexpr int tokComment = 7;
constexpr int tokWord = 8;  // letters, digits, underscore
constexpr int tokTab = 9;
constexpr int tokLF = 10;  // never produced: the slot of the LF routine
constexpr int tokWideSymbol = 11;
constexpr int tokWideDigits = 12;
constexpr int tokCR = 13;  // never produced: the slot of the CR routine
constexpr int tokWideLatin = 14;
constexpr int tokHiragana = 15;
constexpr int tokKatakana = 16;
constexpr int tokKanji = 17;
constexpr int tokHalfKanaPunct = 18;
constexpr int tokHalfKana = 19;
constexpr int tokUrl = 20;
constexpr int tokMail = 21;
constexpr int tokHexNumber = 22;    // after the HexPrefix
constexpr int tokString = 23;       // quoted by the Quotation character
constexpr int tokCharCode = 24;     // '#' and decimal digits
constexpr int tokHexCharCode = 25;  // '#', '$' and hex digits
constexpr int tokReserved = 26;
constexpr int kTokenKindCount = 27;

// Bracket states of a scanner and of a row.
constexpr int kBracketNone = -1;        // no pair open
constexpr int kBracketNotScanned = -2;  // not scanned yet / bracket detection off

class TEditorParser {
public:
    using TRoutine = void (TEditorParser::*)();

    // Scans text without options (first-byte table only); the first token is scanned at once.
    explicit TEditorParser(const char* text);
    // A scanner with an editor's options, with an empty text: ResetScan gives it its rows.
    TEditorParser(const TScanOptions& options, int bracket);
    // Scans text with an editor's options from a stored row state; the first token is scanned at once.
    TEditorParser(const char* text, const TScanOptions& options, int bracket, int entryKind);
    TEditorParser(const TEditorParser&) = delete;
    TEditorParser& operator=(const TEditorParser&) = delete;
    virtual ~TEditorParser() = default;

    // Sets all state, points every position at the text start and scans the first token. text must be
    // NUL-terminated; a null text is taken as empty. entryKind 0 = none pending.
    virtual void ResetScan(const char* text, const TScanOptions& options, int entryKind, int bracket);
    // Scans the next token and returns its kind (tokNone at the end of the text or line).
    virtual int NextToken();
    // True when the current token's text is in the reserved words of the options (never for brackets,
    // comments, empty tokens, or without reserved words).
    virtual bool IsReserveWord() const;
    // The colour class of the current token, or nullptr for kinds without one and without a View.
    virtual const TEditorColor* TokenColor() const;

    int Kind() const { return FKind; }
    int TokenOffset() const { return static_cast<int>(FTokenStart - FText); }
    int TokenLength() const { return static_cast<int>(FPos - FTokenStart); }
    std::string_view TokenString() const {
        return std::string_view(FTokenStart, static_cast<std::size_t>(FPos - FTokenStart));
    }
    // Bracket state: -1 no pair open, 0..13 the open pair, -2 bracket detection off.
    int Bracket() const { return FBracket; }
    // The pair of the current tokBracket token (its colour); -2 before any bracket token.
    int BracketIndex() const { return FBracketIndex; }
    int EntryKind() const { return FEntryKind; }
    const TScanOptions& Options() const { return FOptions; }
    const char* Text() const { return FText; }

    // Case-insensitive order of reserved words (ASCII letters folded, two-byte characters compared as
    // they are): the order in which a ReserveWordList must be kept sorted.
    static int CompareReserveWord(std::string_view a, std::string_view b) noexcept;
    // Bisection of a list sorted by CompareReserveWord.
    static bool FindReserveWord(const TReserveWordList& list, std::string_view word) noexcept;
    // words sorted by CompareReserveWord, of words that compare equal only the first kept.
    static TReserveWordList SortReserveWords(std::vector<std::string> words);

protected:
    // Recognisers, in slot order. A test returns true and consumes what it recognised, or returns false
    // and leaves the position alone. A routine sets the kind, then consumes; it never consumes an end byte
    // (NUL, LF, CR) and never passes the terminating NUL.
    virtual void InitTable();
    virtual void SkipBlanks();
    virtual bool IsLeftBracket();
    virtual void BracketProc();
    virtual bool IsMailAddress();
    virtual void MailProc();
    virtual bool IsUrlPrefix();
    virtual void UrlProc();
    virtual bool IsCommenter();
    virtual void CommentProc();
    virtual bool IsQuotation();
    virtual void StringProc();
    virtual bool IsHexPrefix();
    virtual void HexProc();
    virtual bool IsHexCharCodePrefix();
    virtual void HexCharCodeProc();
    virtual bool IsCharCodePrefix();
    virtual void CharCodeProc();
    virtual void ReserveWordProc();
    virtual void EndProc();
    virtual void TabProc();
    virtual void LFProc();
    virtual void CRProc();
    virtual void NumberProc();
    virtual void WordProc();
    virtual void WideSymbolProc();
    virtual void WideCharProc();  // lead bytes 0x82 and 0x83
    virtual void KanjiProc();
    virtual void HalfKanaPunctProc();
    virtual void HalfKanaProc();
    virtual void SymbolProc();

    // A 0x82 or 0x83 lead byte with an invalid trail: takes the lead byte alone.
    void TakeStrayLead();

    // Runs the table routine for a byte value or token kind.
    void Dispatch(unsigned index) { (this->*FTable[index & 0xFF])(); }
    // The View options, or nullptr without them.
    const TEditorViewInfo* View() const { return FView; }
    unsigned char Current() const { return static_cast<unsigned char>(*FPos); }
    // True at NUL, LF or CR.
    static bool IsEnd(unsigned char c) { return c == 0 || c == '\n' || c == '\r'; }
    // Consumes one character: two bytes after a lead byte, one when an end byte follows the lead.
    void SkipChar() {
        if (sjis::IsLeadByte(*FPos) && !IsEnd(static_cast<unsigned char>(FPos[1]))) ++FPos;
        ++FPos;
    }

    TRoutine FTable[256] = {};
    bool FTableBuilt = false;
    const char* FText = "";
    const char* FTokenStart = FText;
    const char* FPos = FText;
    TScanOptions FOptions;
    const TEditorViewInfo* FView = nullptr;  // FOptions.View
    int FBracket = kBracketNotScanned;
    int FBracketIndex = kBracketNotScanned;
    int FEntryKind = tokNone;
    int FKind = tokNone;
    // End of a run of mail-set bytes in which no mail address can start (see IsMailAddress).
    const char* FNoMailBefore = nullptr;
};
