// The COM text type under the real OLE Automation functions. Code page 1252 in octal, so that no
// escape runs into the next letter: 374 and 337 are u-umlaut and sharp s, 200 the euro sign.
#include "support/bstr_text.h"
#include <gtest/gtest.h>

TEST(BstrText, RoundTripThroughCodePage1252AndNull)
{
    nv::BstrText text("Gr\374\337e \200");
    EXPECT_EQ(std::wstring(L"Gr\u00FC\u00DFe \u20AC"), std::wstring(text.Get()));
    EXPECT_STREQ("Gr\374\337e \200", text.Ansi());
    BSTR raw = SysAllocStringLen(L"\u00E4b\0cd", 5);
    EXPECT_EQ("\344b", nv::BstrToAnsi(raw)); // the single-byte form ends at an embedded zero
    SysFreeString(raw);
    nv::BstrText null(static_cast<const char*>(nullptr)), empty("");
    EXPECT_EQ(nullptr, null.Get()); // null stays null, empty stays empty
    EXPECT_EQ(nullptr, null.Ansi());
    ASSERT_NE(nullptr, empty.Get());
    EXPECT_EQ(0u, SysStringLen(empty.Get()));
}
