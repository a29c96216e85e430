// The import converter: encodings recognised, Unicode converted to Shift-JIS with the characters it cannot
// hold counted, Shift-JIS and unknown bytes kept as they are, and the checks before a file is read.
#include "app/TextImport.h"

#include <gtest/gtest.h>

#include <QString>

#include "support/TempDir.h"
#include "text/SjisCodec.h"

namespace {

using namespace textimport;

std::string Sjis(const char* utf8) {
    return SjisCodec::FromUnicode(QString::fromUtf8(utf8));
}

std::string Utf16(const char* utf8, bool little) {
    const QString s = QString::fromUtf8(utf8);
    std::string out = little ? "\xFF\xFE" : "\xFE\xFF";
    for (QChar c : s) {
        const char hi = static_cast<char>(c.unicode() >> 8), lo = static_cast<char>(c.unicode() & 0xFF);
        out += little ? std::string{lo, hi} : std::string{hi, lo};
    }
    return out;
}

TConversion Convert(std::string_view raw) {
    return ToShiftJis(raw, &SjisCodec::Encode);
}

TEST(TextImportTest, UnicodeFilesBecomeShiftJis) {
    const char* text = "日本語のテキスト\r\nｶﾀｶﾅ and ASCII\n第二行";
    const std::string expected = Sjis(text);

    const TConversion plain = Convert(text);
    EXPECT_EQ(plain.Encoding, TEncoding::Utf8);
    EXPECT_EQ(plain.Text, expected);
    EXPECT_EQ(plain.Unconvertible, 0u);

    const TConversion bom = Convert(std::string("\xEF\xBB\xBF") + text);
    EXPECT_EQ(bom.Encoding, TEncoding::Utf8Bom);
    EXPECT_EQ(bom.Text, expected);

    for (bool little : {true, false}) {
        const TConversion wide = Convert(Utf16(text, little));
        EXPECT_EQ(wide.Encoding, little ? TEncoding::Utf16LE : TEncoding::Utf16BE);
        EXPECT_EQ(wide.Text, expected);
        EXPECT_EQ(wide.Unconvertible, 0u);
    }

    // Text written on other systems: the wave dash and the minus sign have Shift-JIS look-alikes.
    EXPECT_EQ(Convert("10\xE3\x80\x9C" "20 \xE2\x88\x92" "5").Text,
              "10\x81\x60" "20 \x81\x7C" "5");
    // A BOM alone is an empty text.
    EXPECT_EQ(Convert("\xEF\xBB\xBF").Text, "");
}

TEST(TextImportTest, CharactersWithoutShiftJisFormAreCountedWithTheFirstAndItsLine) {
    // Hangul and an emoji (a surrogate pair in UTF-16) on the fourth line; CR LF, CR and LF each end a line.
    const char* text = "a\r\nb\rc\nd \xED\x95\x9C x \xF0\x9F\x98\x80 \xED\x95\x9C";
    for (const std::string& raw : {std::string(text), Utf16(text, true), Utf16(text, false)}) {
        const TConversion c = Convert(raw);
        EXPECT_EQ(c.Unconvertible, 3u);
        EXPECT_EQ(c.FirstUnconvertible, U'\xD55C');
        EXPECT_EQ(c.FirstUnconvertibleLine, 4);
        EXPECT_EQ(c.Text, "a\r\nb\rc\nd ? x ? ?");
    }
    // After a BOM, a broken sequence is one unconvertible character, not a reason to give up.
    const TConversion broken = Convert("\xEF\xBB\xBFok\n\xE6\x97 \xE6\x97\xA5");
    EXPECT_EQ(broken.Unconvertible, 1u);
    EXPECT_EQ(broken.FirstUnconvertibleLine, 2);
    EXPECT_EQ(broken.Text, "ok\n? " + Sjis("日"));
    // An odd byte at the end of UTF-16 and a lone surrogate.
    EXPECT_EQ(Convert(std::string("\xFF\xFE" "A\0\x00\xD8" "B", 7)).Unconvertible, 2u);
}

TEST(TextImportTest, ShiftJisAndOtherBytesStayAsTheyAre) {
    // Shift-JIS with half-width katakana, NEC and IBM codes and a trail byte that looks like ASCII.
    const std::string sjis = Sjis("表示テスト ｱｲｳｴｵ ①Ⅰ\r\n") + "\x87\x40\xED\x40\xFA\x40\x95\x5C";
    TConversion c = Convert(sjis);
    EXPECT_EQ(c.Encoding, TEncoding::Bytes);
    EXPECT_EQ(c.Text, sjis);
    // Neither Shift-JIS nor Unicode: NULs, a lone lead byte, 0xFF.
    const std::string binary("\x00\x01\xFF\x80\x81", 5);
    c = Convert(binary);
    EXPECT_EQ(c.Encoding, TEncoding::Bytes);
    EXPECT_EQ(c.Text, binary);
    EXPECT_EQ(c.Unconvertible, 0u);
    // Plain ASCII is not taken for UTF-8 (nothing to convert).
    EXPECT_EQ(DetectEncoding("plain text\r\n"), TEncoding::Bytes);
    // An overlong or surrogate UTF-8 form is not valid UTF-8.
    EXPECT_EQ(DetectEncoding("\xC0\xAF"), TEncoding::Bytes);
    EXPECT_EQ(DetectEncoding("\xED\xA0\x80"), TEncoding::Bytes);
}

TEST(TextImportTest, RecordTextEndsEveryLineWithCrLf) {
    EXPECT_EQ(AsLines("a\r\nb\rc\nd"), "a\r\nb\r\nc\r\nd\r\n");
    EXPECT_EQ(AsLines("a\r\n\r\n"), "a\r\n\r\n");
    EXPECT_EQ(AsLines("\n"), "\r\n");
    EXPECT_EQ(AsLines(""), "");
    EXPECT_EQ(AsLines(std::string("x\0y", 3)), "xy\r\n");
}

TEST(TextImportTest, FoldersDevicesAndHugeFilesAreNotRead) {
    TTempDir dir;
    WriteBytes(dir / "a.txt", "12345");
    EXPECT_EQ(CheckFile(dir / "a.txt"), TFileCheck::Ok);
    EXPECT_EQ(CheckFile(dir / "a.txt", 4), TFileCheck::TooLarge);
    EXPECT_EQ(CheckFile(dir / "a.txt", 5), TFileCheck::Ok);
    EXPECT_EQ(CheckFile(dir / "missing.txt"), TFileCheck::Missing);
    EXPECT_EQ(CheckFile(dir.Path()), TFileCheck::Directory);
#if defined(__unix__)
    EXPECT_EQ(CheckFile("/dev/zero"), TFileCheck::NotRegularFile);
#endif
}

}  // namespace
