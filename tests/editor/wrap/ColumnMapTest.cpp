// The delimiter set, column maps and the attribute array's column cursor.
#include <gtest/gtest.h>

#include <random>

#include "editor/support/RowsTestUtil.h"
#include "editor/wrap/ColumnMap.h"
#include "editor/wrap/Delimiters.h"
#include "editor/wrap/EditorAttributeArray.h"

using namespace rowtest;

TEST(Delimiters, DefaultSet) {
    const TDelimiters& d = DefaultDelimiters();
    for (int c :
         {0x00, 0x09, 0x20, 0x2F, 0x3A, 0x40, 0x5B, 0x5E, 0x60, 0x7B, 0x7F, 0x80, 0xA0, 0xA5, 0xFD, 0xFF})
        EXPECT_TRUE(d.test(static_cast<std::size_t>(c))) << c;
    for (int c : {int{'0'}, int{'9'}, int{'A'}, int{'Z'}, int{'_'}, int{'a'}, int{'z'}, 0x81, 0x9F, 0xA6,
                  0xDF, 0xE0, 0xFC})
        EXPECT_FALSE(d.test(static_cast<std::size_t>(c))) << c;
    EXPECT_EQ(d.count(), 48u + 7 + 4 + 1 + 6 + 6 + 3);
}

TEST(ColumnMap, CodesAndTabFill) {
    const TDelimiters& d = DefaultDelimiters();
    EXPECT_EQ(ColumnMap("a\t" + kA + "b", d, 4), "1233451");
    EXPECT_EQ(ColumnMap("\t", d, 8), "23333333");
    EXPECT_EQ(ColumnMap("x_9 ", d, 8), "1112");
    // With word wrap a TAB stops at the next multiple of the wrap width.
    const std::string before(18, 'a');
    EXPECT_EQ(ColumnMap(before + "\t", d, 8, 20), std::string(18, '1') + "23");
    EXPECT_EQ(ColumnMap(before + "\t", d, 8), std::string(18, '1') + "233333");
    // A lead byte at the very end stands alone.
    EXPECT_EQ(ColumnMap("a\x82", d, 8), "11");
}

TEST(ColumnMap, DisplayWidthAgreesWithTheMap) {
    std::mt19937 rng(3);
    const std::string pieces[] = {"a", " ", "\t", kA, kKan, "\xB1", ",", "\x82"};
    for (int i = 0; i < 500; ++i) {
        std::string line;
        const int len = static_cast<int>(rng() % 40);
        for (int k = 0; k < len; ++k) line += pieces[rng() % 8];
        for (int wrap : {0, 20, 33}) {
            const int tab = 2 + 2 * static_cast<int>(rng() % 4);
            EXPECT_EQ(DisplayWidth(line, tab, wrap),
                      static_cast<int>(ColumnMap(line, DefaultDelimiters(), tab, wrap).size()));
        }
    }
}

TEST(AttributeArray, StepsOverFillColumnsAndTwoByteCharacters) {
    const std::string line = "a\t" + kA + "b";  // map 1233451
    TEditorAttributeArray cur(line, ColumnMap(line, DefaultDelimiters(), 4));
    EXPECT_EQ(cur.Length(), 7);
    EXPECT_EQ(cur.Column(), 1);
    EXPECT_EQ(cur.ByteIndex(), 1);
    EXPECT_EQ(cur.Current(), "a");
    EXPECT_EQ(cur.PeekNext(), "\t");
    cur.MoveTo(4);  // second fill column: still the TAB
    EXPECT_EQ(cur.Code(), '3');
    EXPECT_EQ(cur.ByteIndex(), 2);
    EXPECT_EQ(cur.Current(), "\t");
    EXPECT_EQ(cur.PeekNext(), kA);
    cur.Next();
    EXPECT_EQ(cur.Code(), '4');
    EXPECT_EQ(cur.ByteIndex(), 3);
    cur.Next();
    EXPECT_EQ(cur.Code(), '5');
    EXPECT_EQ(cur.ByteIndex(), 4);
    EXPECT_EQ(cur.Current(), kA);
    cur.Next();
    cur.PrevChar();  // from 'b' back to the trail column
    EXPECT_EQ(cur.Column(), 6);
    cur.PrevChar();  // over the whole character
    EXPECT_EQ(cur.Column(), 4);
    EXPECT_EQ(cur.ByteIndex(), 2);
    cur.MoveTo(100);
    EXPECT_EQ(cur.Code(), '0');
    EXPECT_EQ(cur.Column(), 8);
    EXPECT_EQ(cur.ByteIndex(), 6);
    EXPECT_EQ(cur.Current(), "");
    cur.Next();
    EXPECT_EQ(cur.Column(), 8);
    cur.MoveTo(-5);
    EXPECT_EQ(cur.Column(), 1);
    EXPECT_EQ(cur.ByteIndex(), 1);
}

