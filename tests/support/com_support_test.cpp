// The COM text and error types under the real OLE Automation functions.
#include "support/bstr_text.h"
#include "support/com_error.h"
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

TEST(ComError, MessageForCodesWithAndWithoutSystemText)
{
    const std::pair<HRESULT, const char*> rows[] = {
        {HRESULT(0x80040201), "IDispatch error #1"},
        {HRESULT(0x8004FFFF), "IDispatch error #65023"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.second, nv::ComError(row.first).ErrorMessage()) << std::hex << row.first;
    std::string system = nv::ComError(E_OUTOFMEMORY).ErrorMessage();
    ASSERT_FALSE(system.empty());
    EXPECT_EQ(std::string::npos, std::string("\r\n").find(system.back())) << system;
}
