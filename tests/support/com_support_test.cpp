// The COM text type under the real OLE Automation functions.
#include "support/bstr_text.h"
#include <gtest/gtest.h>

TEST(BstrText, RoundTripThroughCodePage1252AndNull)
{
    nv::BstrText text("Gr\xFC\xDF"
                      "e \x80");
    EXPECT_EQ(std::wstring(L"Gr\x00FC\x00DF"
                           L"e \x20AC"),
              std::wstring(text.Get()));
    EXPECT_STREQ("Gr\xFC\xDF"
                 "e \x80",
                 text.Ansi());
    BSTR raw = SysAllocStringLen(L"\x00E4"
                                 L"b\0cd",
                                 5);
    EXPECT_EQ("\xE4"
              "b",
              nv::BstrToAnsi(raw)); // the single-byte form ends at an embedded zero
    SysFreeString(raw);
    nv::BstrText null(static_cast<const char*>(nullptr)), empty("");
    EXPECT_EQ(nullptr, null.Get()); // null stays null, empty stays empty
    EXPECT_EQ(nullptr, null.Ansi());
    ASSERT_NE(nullptr, empty.Get());
    EXPECT_EQ(0u, SysStringLen(empty.Get()));
}
