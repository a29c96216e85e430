// The view options: the quotation character.
#include <gtest/gtest.h>

#include <string>

#include "editor/options/EditorViewInfo.h"

TEST(EditorViewInfo, QuotationKeepsItsFirstByteOnly) {
    TEditorViewInfo view;
    view.SetQuotation("\"'");
    EXPECT_EQ(view.Quotation(), "\"");
    view.SetQuotation("");
    EXPECT_EQ(view.Quotation(), "");
    view.SetQuotation("\x81\x68");  // a two-byte character: its lead byte alone is kept
    EXPECT_EQ(view.Quotation(), "\x81");
}
