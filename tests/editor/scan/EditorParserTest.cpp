// The token scanner: token kinds and extents, the option-based recognisers and their order, bracket and
// entry states, reserved words, colours, derived scanners, and a property test on random Shift-JIS texts.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "editor/support/FakeEditorHost.h"
#include "editor/scan/EditorParser.h"
#include "editor/options/EditorViewInfo.h"
#include "text/ShiftJis.h"

namespace {

struct TTok {
    int kind;
    std::string text;
    bool operator==(const TTok&) const = default;
};

std::ostream& operator<<(std::ostream& os, const TTok& t) {
    os << "{" << t.kind << ", \"";
    for (unsigned char c : t.text) {
        if (c >= 0x20 && c < 0x7F)
            os << c;
        else
            os << "\\x" << std::hex << int(c) << std::dec;
    }
    return os << "\"}";
}

// All tokens of text up to tokNone.
std::vector<TTok> Scan(const std::string& text, const TScanOptions& options = {}, int entry = tokNone,
                       int bracket = kBracketNone) {
    TEditorParser p(options, bracket);
    p.ResetScan(text.c_str(), options, entry, bracket);
    std::vector<TTok> out;
    for (int guard = 0; p.Kind() != tokNone && guard < 10000; ++guard) {
        out.push_back({p.Kind(), std::string(p.TokenString())});
        p.NextToken();
    }
    return out;
}

// Shift-JIS spellings used below.
const std::string kHira = "\x82\xA0\x82\xA2";        // あい
const std::string kKata = "\x83\x41\x83\x43";        // アイ
const std::string kChoon = "\x81\x5B";               // ー
const std::string kKanji = "\x8A\xBF\x8E\x9A";       // 漢字
const std::string kWideDigits = "\x82\x50\x82\x51";  // １２
const std::string kWideComma = "\x81\x43";           // ，
const std::string kWideLatin = "\x82\x60\x82\x81";   // Ａａ
const std::string kMaru = "\x81\x42";                // 。
const std::string kHalfKana = "\xB1\xB2";            // ｱｲ
const std::string kHalfPunct = "\xA1";               // ｡

}  // namespace

TEST(EditorParser, FirstByteTableWithoutAnEditor) {
    const std::string text = "abc_1 42\t" + kHira + kChoon + " " + kKata + kChoon + kKanji + " " +
                             kWideDigits + kWideComma + kWideDigits + kWideLatin + kMaru + kHalfPunct +
                             kHalfKana + "+\x80";
    const std::vector<TTok> expected = {
        {tokWord, "abc_1"},
        {tokInteger, "42"},
        {tokTab, "\t"},
        {tokHiragana, kHira + kChoon},
        {tokKatakana, kKata + kChoon},
        {tokKanji, kKanji},
        {tokWideDigits, kWideDigits + kWideComma + kWideDigits},
        {tokWideLatin, kWideLatin},
        {tokWideSymbol, kMaru},
        {tokHalfKanaPunct, kHalfPunct},
        {tokHalfKana, kHalfKana},
        {tokSymbol, "+"},
        {tokSymbol, "\x80"},
    };
    EXPECT_EQ(Scan(text), expected);

    // Without an editor no option is looked at and no colour is given.
    TEditorParser p("'x' #1 http://a");
    EXPECT_EQ(p.Kind(), tokSymbol);
    EXPECT_EQ(p.TokenColor(), nullptr);
    EXPECT_FALSE(p.IsReserveWord());
}

TEST(EditorParser, BlanksAreSkippedAndTheTextEndsAtNul) {
    // Control bytes, CR and LF are skipped between tokens; TAB is a token.
    const std::string text = "\x01 a\r\n\x1F\tb \x08";
    EXPECT_EQ(Scan(text), (std::vector<TTok>{{tokWord, "a"}, {tokTab, "\t"}, {tokWord, "b"}}));
    EXPECT_TRUE(Scan("   ").empty());
    TEditorParser p("  x");
    EXPECT_EQ(p.TokenOffset(), 2);
    EXPECT_EQ(p.TokenLength(), 1);
    EXPECT_EQ(p.NextToken(), tokNone);
    EXPECT_EQ(p.NextToken(), tokNone);  // stays at the end
    TEditorParser empty(static_cast<const char*>(nullptr));
    EXPECT_EQ(empty.Kind(), tokNone);
}

TEST(EditorParser, Numbers) {
    EXPECT_EQ(Scan("3.14e-5"), (std::vector<TTok>{{tokFloat, "3.14e-5"}}));
    EXPECT_EQ(Scan("12. x"), (std::vector<TTok>{{tokFloat, "12"}, {tokSymbol, "."}, {tokWord, "x"}}));
    EXPECT_EQ(Scan("12E x"), (std::vector<TTok>{{tokFloat, "12E"}, {tokWord, "x"}}));
    EXPECT_EQ(Scan("7.e+2"), (std::vector<TTok>{{tokFloat, "7.e+2"}}));
    EXPECT_EQ(Scan("1e+x"), (std::vector<TTok>{{tokFloat, "1e"}, {tokSymbol, "+"}, {tokWord, "x"}}));
    EXPECT_EQ(Scan("5e3.2"), (std::vector<TTok>{{tokFloat, "5e3"}, {tokSymbol, "."}, {tokInteger, "2"}}));
    EXPECT_EQ(Scan("1.5E"), (std::vector<TTok>{{tokFloat, "1.5E"}}));
    EXPECT_EQ(Scan("0042abc"), (std::vector<TTok>{{tokInteger, "0042"}, {tokWord, "abc"}}));
}

TEST(EditorParser, StringsWithTheQuotationCharacter) {
    TFakeEditorHost host;
    host.view.SetQuotation("'");
    EXPECT_EQ(Scan("x 'it''s' y", host.ScanOptions()),
              (std::vector<TTok>{{tokWord, "x"}, {tokString, "'it''s'"}, {tokWord, "y"}}));
    EXPECT_EQ(Scan("'open", host.ScanOptions()), (std::vector<TTok>{{tokString, "'open"}}));
    EXPECT_EQ(Scan("''", host.ScanOptions()), (std::vector<TTok>{{tokString, "''"}}));

    // A trail byte equal to the quote character does not end the string: 表 is 0x95 0x5C.
    host.view.SetQuotation("\\");
    EXPECT_EQ(Scan("\\\x95\x5C\\ a", host.ScanOptions()),
              (std::vector<TTok>{{tokString, "\\\x95\x5C\\"}, {tokWord, "a"}}));
}

TEST(EditorParser, MailAddresses) {
    TFakeEditorHost host;
    host.view.SetMail(true);
    EXPECT_EQ(Scan("mail me.x@example.co.jp now", host.ScanOptions()),
              (std::vector<TTok>{{tokWord, "mail"}, {tokMail, "me.x@example.co.jp"}, {tokWord, "now"}}));
    // Starting with '@', or without a '.' after the '@': no address.
    EXPECT_EQ(Scan("@abc.de", host.ScanOptions()),
              (std::vector<TTok>{{tokSymbol, "@"}, {tokWord, "abc"}, {tokSymbol, "."}, {tokWord, "de"}}));
    EXPECT_EQ(Scan("a@b", host.ScanOptions()), (std::vector<TTok>{{tokWord, "a"}, {tokSymbol, "@"}, {tokWord, "b"}}));
    // A failed start does not hide an address that begins later in another run.
    EXPECT_EQ(Scan("a.b,c x@y.z", host.ScanOptions()), (std::vector<TTok>{{tokWord, "a"},
                                                             {tokSymbol, "."},
                                                             {tokWord, "b"},
                                                             {tokSymbol, ","},
                                                             {tokWord, "c"},
                                                             {tokMail, "x@y.z"}}));
    host.view.SetMail(false);
    EXPECT_EQ(Scan("a@b.c", host.ScanOptions()).front(), (TTok{tokWord, "a"}));
}

TEST(EditorParser, Urls) {
    TFakeEditorHost host;
    host.view.SetUrl(true);
    EXPECT_EQ(Scan("see https://www.example.jp/a?b=1&c=%20~x#top!", host.ScanOptions()),
              (std::vector<TTok>{
                  {tokWord, "see"}, {tokUrl, "https://www.example.jp/a?b=1&c=%20~x#top"}, {tokSymbol, "!"}}));
    EXPECT_EQ(Scan("www.example.com", host.ScanOptions()), (std::vector<TTok>{{tokUrl, "www.example.com"}}));
    EXPECT_EQ(Scan("ftp:", host.ScanOptions()), (std::vector<TTok>{{tokUrl, "ftp:"}}));
    // Prefixes are byte-exact: capitals are no URL.
    EXPECT_EQ(Scan("HTTPS://x", host.ScanOptions()).front(), (TTok{tokWord, "HTTPS"}));
    EXPECT_EQ(Scan("httpx", host.ScanOptions()), (std::vector<TTok>{{tokWord, "httpx"}}));
}

TEST(EditorParser, CommentsHexNumbersAndCharacterCodes) {
    TFakeEditorHost host;
    host.view.SetCommenter("//");
    EXPECT_EQ(Scan("a / b // rest " + kKanji, host.ScanOptions()),
              (std::vector<TTok>{
                  {tokWord, "a"}, {tokSymbol, "/"}, {tokWord, "b"}, {tokComment, "// rest " + kKanji}}));

    host.view.SetHexPrefix("0x");
    EXPECT_EQ(Scan("0x1F 0X1fz 0xg", host.ScanOptions()), (std::vector<TTok>{{tokHexNumber, "0x1F"},
                                                                {tokHexNumber, "0X1f"},
                                                                {tokWord, "z"},
                                                                {tokHexNumber, "0x"},
                                                                {tokWord, "g"}}));
    // The case-insensitive match does not fold trail bytes: ア (0x83 0x41) is not ヂ-like 0x83 0x61.
    host.view.SetHexPrefix("\x83\x41");
    EXPECT_EQ(Scan("\x83\x61"
                   "1",
                   host.ScanOptions())
                  .front()
                  .kind,
              tokKatakana);
    EXPECT_EQ(Scan("\x83\x41"
                   "1",
                   host.ScanOptions())
                  .front(),
              (TTok{tokHexNumber,
                    "\x83\x41"
                    "1"}));

    EXPECT_EQ(Scan("#13", host.ScanOptions()), (std::vector<TTok>{{tokSymbol, "#"}, {tokInteger, "13"}}));
    host.view.SetControlCode(true);
    EXPECT_EQ(Scan("#13#$0d#x", host.ScanOptions()),
              (std::vector<TTok>{
                  {tokCharCode, "#13"}, {tokHexCharCode, "#$0d"}, {tokCharCode, "#"}, {tokWord, "x"}}));
}

TEST(EditorParser, OrderOfTheTests) {
    TFakeEditorHost host;
    host.view.SetMail(true);
    host.view.SetUrl(true);
    host.view.SetCommenter("#");
    host.view.SetControlCode(true);
    host.view.SetQuotation("w");
    host.view.SetHexPrefix("#");
    // Mail before URL, URL before the quotation character.
    EXPECT_EQ(Scan("www.a@b.c", host.ScanOptions()), (std::vector<TTok>{{tokMail, "www.a@b.c"}}));
    EXPECT_EQ(Scan("www.x", host.ScanOptions()), (std::vector<TTok>{{tokUrl, "www.x"}}));
    EXPECT_EQ(Scan("wow", host.ScanOptions()), (std::vector<TTok>{{tokString, "wow"}}));
    // The commenter comes before the character codes and the hex prefix.
    EXPECT_EQ(Scan("#$1", host.ScanOptions()), (std::vector<TTok>{{tokComment, "#$1"}}));
    host.view.SetCommenter("");
    EXPECT_EQ(Scan("#$1 #2", host.ScanOptions()), (std::vector<TTok>{{tokHexCharCode, "#$1"}, {tokCharCode, "#2"}}));
    host.view.SetControlCode(false);
    EXPECT_EQ(Scan("#2", host.ScanOptions()), (std::vector<TTok>{{tokHexNumber, "#2"}}));
    // A bracket pair comes first of all.
    host.view.Brackets().Add("ww", "ww");
    EXPECT_EQ(Scan("wwx@y.zww", host.ScanOptions()), (std::vector<TTok>{{tokBracket, "wwx@y.zww"}}));
}

TEST(EditorParser, BracketPairs) {
    TFakeEditorHost host;
    host.view.Brackets().Add("(", ")");
    host.view.Brackets().Add("\x81\x75", "\x81\x76");  // 「 」
    host.view.Brackets().Add("[", "]");

    TEditorParser p(host.ScanOptions(), kBracketNone);
    p.ResetScan("x (a b) y", host.ScanOptions(), tokNone, kBracketNone);
    EXPECT_EQ(p.NextToken(), tokBracket);
    EXPECT_EQ(p.TokenString(), "(a b)");
    EXPECT_EQ(p.BracketIndex(), 0);
    EXPECT_EQ(p.Bracket(), kBracketNone);  // closed again

    // An open pair stays open at the end, and the next row continues it from the stored state.
    p.ResetScan(
        "\x81\x75"
        "abc",
        host.ScanOptions(), tokNone, kBracketNone);
    EXPECT_EQ(p.Kind(), tokBracket);
    EXPECT_EQ(p.Bracket(), 1);
    EXPECT_EQ(p.NextToken(), tokNone);
    EXPECT_EQ(Scan("de\x81\x76 z", host.ScanOptions(), tokBracket, 1),
              (std::vector<TTok>{{tokBracket, "de\x81\x76"}, {tokWord, "z"}}));

    // The right bracket is matched on character boundaries only: ‐ is 0x81 0x5D, ']' is 0x5D.
    EXPECT_EQ(Scan("[\x81\x5D] a", host.ScanOptions()), (std::vector<TTok>{{tokBracket, "[\x81\x5D]"}, {tokWord, "a"}}));

    // Bracket state -2: bracket detection is off.
    EXPECT_EQ(Scan("(a)", host.ScanOptions(), tokNone, kBracketNotScanned).front(), (TTok{tokSymbol, "("}));

    // A pair without a right bracket is not recognised (it could never close).
    TFakeEditorHost open;
    open.view.Brackets().Add("<", "");
    EXPECT_EQ(Scan("<a>", open.ScanOptions()), (std::vector<TTok>{{tokSymbol, "<"}, {tokWord, "a"}, {tokSymbol, ">"}}));
    // So is an empty left bracket.
    open.view.Brackets().Add("", ">");
    EXPECT_EQ(Scan("a>", open.ScanOptions()).size(), 2u);
}

TEST(EditorParser, EntryKindsContinueATokenFromThePreviousRow) {
    TFakeEditorHost host;
    host.view.SetQuotation("\"");
    host.view.SetUrl(true);
    host.view.SetMail(true);
    EXPECT_EQ(Scan("ing\" x", host.ScanOptions(), tokString), (std::vector<TTok>{{tokString, "ing\""}, {tokWord, "x"}}));
    EXPECT_EQ(Scan("ple.com/a b", host.ScanOptions(), tokUrl), (std::vector<TTok>{{tokUrl, "ple.com/a"}, {tokWord, "b"}}));
    EXPECT_EQ(Scan("b.jp c", host.ScanOptions(), tokMail), (std::vector<TTok>{{tokMail, "b.jp"}, {tokWord, "c"}}));
    EXPECT_EQ(Scan("34 x", host.ScanOptions(), tokInteger), (std::vector<TTok>{{tokInteger, "34"}, {tokWord, "x"}}));
    EXPECT_EQ(Scan(kHira + "a", host.ScanOptions(), tokHiragana),
              (std::vector<TTok>{{tokHiragana, kHira}, {tokWord, "a"}}));
    EXPECT_EQ(Scan("all rest", {}, tokComment), (std::vector<TTok>{{tokComment, "all rest"}}));
    // A reserved word continues with the routine of its first byte, as a reserved token.
    EXPECT_EQ(Scan("in x", host.ScanOptions(), tokReserved), (std::vector<TTok>{{tokReserved, "in"}, {tokWord, "x"}}));
    // Only the first token uses the entry kind.
    EXPECT_EQ(Scan("ab cd", host.ScanOptions(), tokWord), (std::vector<TTok>{{tokWord, "ab"}, {tokWord, "cd"}}));
    // An entry that does not apply to the text falls back to an ordinary token, so the row is not cut.
    EXPECT_EQ(Scan("(a) b", host.ScanOptions(), tokBracket, kBracketNone),
              (std::vector<TTok>{{tokSymbol, "("}, {tokWord, "a"}, {tokSymbol, ")"}, {tokWord, "b"}}));
    EXPECT_EQ(Scan("a", host.ScanOptions(), tokTab), (std::vector<TTok>{{tokWord, "a"}}));
    EXPECT_EQ(Scan("a", host.ScanOptions(), tokLF), (std::vector<TTok>{{tokWord, "a"}}));
}

TEST(EditorParser, InvalidAndTruncatedDoubleByteCharacters) {
    // A lead byte at the very end stands alone and the scanner never reads past the NUL.
    EXPECT_EQ(Scan("a\x88"), (std::vector<TTok>{{tokWord, "a"}, {tokKanji, "\x88"}}));
    EXPECT_EQ(Scan("\x81"), (std::vector<TTok>{{tokWideSymbol, "\x81"}}));
    EXPECT_EQ(Scan("\x83"), (std::vector<TTok>{{tokSymbol, "\x83"}}));
    // 0x82 with a trail below 0x40: the lead byte alone, with the kind of the token before it.
    EXPECT_EQ(Scan("ab\x82"
                   "1"),
              (std::vector<TTok>{{tokWord, "ab"}, {tokWord, "\x82"}, {tokInteger, "1"}}));
    // At the start there is no token before: the byte becomes a symbol rather than ending the row.
    EXPECT_EQ(Scan("\x82 x"), (std::vector<TTok>{{tokSymbol, "\x82"}, {tokWord, "x"}}));
    // Unassigned codes 0x83F1.. are still whole characters.
    EXPECT_EQ(Scan("\x83\xF5\x88\x9F"),
              (std::vector<TTok>{{tokWideSymbol, "\x83\xF5"}, {tokKanji, "\x88\x9F"}}));
    // 0x82 trails outside the classes are single wide symbols.
    EXPECT_EQ(Scan("\x82\x40\x82\xF2"),
              (std::vector<TTok>{{tokWideSymbol, "\x82\x40"}, {tokWideSymbol, "\x82\xF2"}}));
}

TEST(EditorParser, OptionTextsNeverEndATokenInsideACharacter) {
    // A quotation keeps one byte: of 「 (0x81 0x75) that is a lead byte, which never stands alone, so it
    // quotes nothing (it would start a string at the first half of every 0x81 character: 、。「」…).
    TFakeEditorHost host;
    host.view.SetQuotation("\x81\x75");
    EXPECT_EQ(Scan("\x81\x75" + kHira + "\x81\x76" + kMaru + "x", host.ScanOptions()),
              (std::vector<TTok>{{tokWideSymbol, "\x81\x75"},
                                 {tokHiragana, kHira},
                                 {tokWideSymbol, "\x81\x76"},
                                 {tokWideSymbol, kMaru},
                                 {tokWord, "x"}}));

    // Brackets, commenter and hex prefix that end with a lead byte match only where no trail byte follows.
    TFakeEditorHost odd;
    odd.view.Brackets().Add("\x88", ")");  // a left bracket that is half of 亜 (0x88 0x9F)
    odd.view.Brackets().Add("(", "\x81");  // a right bracket that is half of 。
    odd.view.SetHexPrefix("\x82");         // half of １ (0x82 0x50)
    EXPECT_EQ(Scan("\x88\x9F" + kWideDigits, odd.ScanOptions()),
              (std::vector<TTok>{{tokKanji, "\x88\x9F"}, {tokWideDigits, kWideDigits}}));
    EXPECT_EQ(Scan("(a" + kMaru + "b", odd.ScanOptions()), (std::vector<TTok>{{tokBracket, "(a" + kMaru + "b"}}));
    // Where the lead byte is the last byte of the text, the match still stands.
    EXPECT_EQ(Scan("(a\x81", odd.ScanOptions()), (std::vector<TTok>{{tokBracket, "(a\x81"}}));
}

TEST(EditorParser, ReservedWordsAreFoundWithoutRegardToCase) {
    TFakeEditorHost host;
    host.SetReserveWords({"end", "Begin", "_x", "BEGIN", kKanji});
    ASSERT_EQ(host.reserveWords.size(), 4u);  // "Begin" and "BEGIN" are one word

    TEditorParser p(host.ScanOptions(), kBracketNone);
    p.ResetScan("begin x END _X _y", host.ScanOptions(), tokNone, kBracketNone);
    std::vector<bool> reserved;
    for (; p.Kind() != tokNone; p.NextToken()) reserved.push_back(p.IsReserveWord());
    EXPECT_EQ(reserved, (std::vector<bool>{true, false, true, true, false}));

    // Comments and brackets are never reserved words, whatever their text.
    host.view.SetCommenter("end");
    p.ResetScan("end", host.ScanOptions(), tokNone, kBracketNone);
    EXPECT_EQ(p.Kind(), tokComment);
    EXPECT_FALSE(p.IsReserveWord());
    EXPECT_EQ(p.TokenColor(), &host.view.Colors().Comment());

    // Letters are folded, trail bytes are not: Ａ (0x82 0x60) and ａ (0x82 0x81) stay different words,
    // and so do 0x82 0x61 and 0x82 0x41.
    EXPECT_EQ(TEditorParser::CompareReserveWord("aBc", "ABC"), 0);
    EXPECT_NE(TEditorParser::CompareReserveWord("\x82\x61", "\x82\x41"), 0);
    EXPECT_LT(TEditorParser::CompareReserveWord("ab", "abc"), 0);
    EXPECT_GT(TEditorParser::CompareReserveWord("b", "ABC"), 0);
    EXPECT_FALSE(TEditorParser::FindReserveWord({}, "x"));
}

TEST(EditorParser, TokenColours) {
    TFakeEditorHost host;
    TEditorViewInfo& v = host.view;
    v.SetMail(true);
    v.SetUrl(true);
    v.SetQuotation("\"");
    v.SetControlCode(true);
    v.SetHexPrefix("$");
    v.Brackets().Add("{", "}");
    v.Brackets().Add("<", ">");
    host.SetReserveWords({"begin"});
    const TEditorColors& c = v.Colors();

    const std::vector<std::pair<std::string, const TEditorColor*>> cases = {
        {"abc", &c.Ank()},      {"Begin", &c.Reserve()}, {"12", &c.Int()},
        {"1.5", &c.Int()},      {"$FF", &c.Int()},       {"\"s\"", &c.Str()},
        {"#10", &c.Str()},      {"#$0A", &c.Str()},      {"+", &c.Symbol()},
        {kKanji, &c.DBCS()},    {kHalfKana, &c.DBCS()},  {kMaru, &c.DBCS()},
        {"http://x", &c.Url()}, {"a@b.c", &c.Mail()},    {"<x>", &v.Brackets()[1].ItemColor()},
        {"\t", nullptr},
    };
    for (const auto& [text, colour] : cases) {
        TEditorParser p(text.c_str(), host.ScanOptions(), kBracketNone, tokNone);
        EXPECT_EQ(p.TokenColor(), colour) << text;
    }
    TEditorParser r("gin", host.ScanOptions(), kBracketNone, tokReserved);
    EXPECT_EQ(r.TokenColor(), &c.Reserve());
}

namespace {

// A derived scanner: ';' starts a comment, and words are scanned by an own routine.
class TSemicolonParser : public TEditorParser {
public:
    using TEditorParser::TEditorParser;
    int wordCalls = 0;

protected:
    bool IsCommenter() override {
        if (*FPos != ';') return TEditorParser::IsCommenter();
        ++FPos;
        return true;
    }
    void WordProc() override {
        ++wordCalls;
        if (*FPos == '@') ++FPos;
        TEditorParser::WordProc();
    }
    void InitTable() override {
        TEditorParser::InitTable();
        FTable[static_cast<unsigned char>('@')] =
            FTable[static_cast<unsigned char>('a')];  // '@' starts a word
    }
};

}  // namespace

TEST(EditorParser, ADerivedScannerReplacesRecognisers) {
    TFakeEditorHost host;
    TSemicolonParser p(host.ScanOptions(), kBracketNone);
    p.ResetScan("ab ; note", host.ScanOptions(), tokNone, kBracketNone);
    EXPECT_EQ(p.Kind(), tokWord);
    EXPECT_EQ(p.NextToken(), tokComment);
    EXPECT_EQ(p.TokenString(), "; note");
    EXPECT_EQ(p.wordCalls, 1);  // the table reaches the override

    p.ResetScan("@x1", host.ScanOptions(), tokNone, kBracketNone);
    EXPECT_EQ(p.Kind(), tokWord);
    EXPECT_EQ(p.TokenString(), "@x1");
    // The entry kind's routine is the override too.
    p.ResetScan("cd", host.ScanOptions(), tokWord, kBracketNone);
    EXPECT_EQ(p.wordCalls, 3);
}

namespace {

// A random Shift-JIS text: ASCII of every class the scanner knows, blanks, kana, kanji, full-width
// characters of every lead byte and some lead bytes with unusual trails, sometimes one lead byte at the end.
std::string RandomSjis(std::mt19937& rng, int maxChars) {
    static const std::vector<std::string> pieces = {
        "a",        "Z",        "_",        "7",        ".",        "e",       "E",    "+",    "-",
        "@",        "#",        "$",        "\"",       "'",        "/",       ":",    "(",    ")",
        "<",        ">",        "w",        "h",        "ttp:",     "//",      "0x",   " ",    "\t",
        "\x01",     "\r",       "\n",       "\x80",     "\xA0",     "\xFD",    "\xA1", "\xB1", kChoon,
        kWideComma, "\x81\x7C", "\x81\x75", "\x81\x76", "\x81\x5D", "\x95\x5C"};
    std::uniform_int_distribution<int> len(0, maxChars);
    std::uniform_int_distribution<int> pick(0, 99);
    std::uniform_int_distribution<int> pieceIndex(0, static_cast<int>(pieces.size()) - 1);
    std::uniform_int_distribution<int> trail(0x40, 0xFB);  // 0x40..0xFC without 0x7F
    const unsigned char leads[] = {0x81, 0x82, 0x83, 0x84, 0x87, 0x88, 0x93, 0x9F, 0xE0, 0xEA, 0xFC};
    std::uniform_int_distribution<int> leadIndex(0, sizeof(leads) - 1);
    std::string s;
    const int n = len(rng);
    for (int i = 0; i < n; ++i) {
        if (pick(rng) < 60) {
            s += pieces[static_cast<std::size_t>(pieceIndex(rng))];
        } else {
            int t = trail(rng);
            if (t >= 0x7F) ++t;
            s += static_cast<char>(leads[leadIndex(rng)]);
            s += static_cast<char>(t);
        }
    }
    if (pick(rng) < 10) s += static_cast<char>(leads[leadIndex(rng)]);
    return s;
}

long EnvNumber(const char* name, long fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::strtol(value, nullptr, 10) : fallback;
}

bool IsBlank(unsigned char c) {
    return (c >= 0x01 && c <= 0x08) || (c >= 0x0A && c <= 0x20);
}

}  // namespace

// Tokens are contiguous apart from blanks, cover every other byte, start and end on character boundaries
// and never pass the end of the text, whatever the options, entry kind and bracket state.
TEST(EditorParser, PropertyTokensTileTheText) {
    // VELLORIA_PARSER_CASES sets the number of random texts, VELLORIA_PARSER_SEED the seed.
    const long iterations = EnvNumber("VELLORIA_PARSER_CASES", 3000);
    std::mt19937 rng(static_cast<std::uint32_t>(EnvNumber("VELLORIA_PARSER_SEED", 20240603)));
    std::uniform_int_distribution<int> coin(0, 1);
    std::uniform_int_distribution<int> entryDist(0, kTokenKindCount - 1);
    std::uniform_int_distribution<int> bracketDist(-2, 3);

    TFakeEditorHost host;
    host.SetReserveWords({"a", "ab", "e", "http", "_"});
    for (long it = 0; it < iterations; ++it) {
        TEditorViewInfo& v = host.view;
        v.SetMail(coin(rng));
        v.SetUrl(coin(rng));
        v.SetControlCode(coin(rng));
        v.SetCommenter(coin(rng) ? "//" : "");
        v.SetQuotation(coin(rng) ? "\"" : (coin(rng) ? "'" : ""));
        v.SetHexPrefix(coin(rng) ? "0x" : "");
        v.Brackets().Clear();
        if (coin(rng)) {
            v.Brackets().Add("(", ")");
            v.Brackets().Add("\x81\x75", "\x81\x76");
            v.Brackets().Add("<", "");
        }
        const std::string text = RandomSjis(rng, 40);
        const int entry = entryDist(rng);
        const int bracket = bracketDist(rng);
        const TScanOptions options = coin(rng) || it % 7 == 0 ? host.ScanOptions() : TScanOptions{};
        const std::size_t n = text.find('\0') == std::string::npos ? text.size() : text.find('\0');

        TEditorParser p(options, bracket);
        p.ResetScan(text.c_str(), options, entry, bracket);
        std::size_t pos = 0;
        std::size_t tokens = 0;
        for (; p.Kind() != tokNone; p.NextToken()) {
            const std::size_t start = static_cast<std::size_t>(p.TokenOffset());
            const std::size_t end = start + static_cast<std::size_t>(p.TokenLength());
            SCOPED_TRACE(::testing::Message() << "iteration " << it << " entry " << entry << " bracket "
                                              << bracket << " token " << tokens << " at " << start);
            ASSERT_GE(start, pos);
            for (std::size_t i = pos; i < start; ++i)
                ASSERT_TRUE(IsBlank(text[i])) << "byte " << i << " skipped";
            ASSERT_GT(end, start) << "empty token of kind " << p.Kind();
            ASSERT_LE(end, n);
            ASSERT_TRUE(sjis::IsCharBoundary(text, start));
            ASSERT_TRUE(sjis::IsCharBoundary(text, end));
            // Detection off stays off; otherwise the state is "none" or an existing pair.
            if (bracket == kBracketNotScanned)
                ASSERT_EQ(p.Bracket(), kBracketNotScanned);
            else
                ASSERT_TRUE(p.Bracket() == bracket || (p.Bracket() >= -1 && p.Bracket() < 2));
            (void)p.TokenColor();
            pos = end;
            ASSERT_LE(++tokens, n) << "scan does not advance";
        }
        // After the last token only blanks remain, and the scanner stays at the end.
        for (std::size_t i = pos; i < n; ++i)
            ASSERT_TRUE(IsBlank(text[i])) << "iteration " << it << " byte " << i;
        EXPECT_EQ(p.NextToken(), tokNone);
    }
}
