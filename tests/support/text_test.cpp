// Single-byte texts: case, blanks and fields, and the COM text type under the real OLE
// Automation functions. Code page 1252 in octal, so that no escape runs into the next letter:
// 374 and 337 are u-umlaut and sharp s, 200 the euro sign.
#include "support/bstr_text.h"
#include "support/text.h"
#include <gtest/gtest.h>

TEST(CaseMapping, ChangesOnlyAsciiLetters)
{
    // 0xC4 and 0xE4 are the umlaut A in code page 1252: the "C" locale leaves them alone.
    EXPECT_EQ("abc\xC4z1", nv::ToLower("AbC\xC4Z1"));
    EXPECT_EQ("ABC\xE4Z1", nv::ToUpper("abc\xE4z1"));
    EXPECT_TRUE(nv::EqualsNoCase("Header", "HEADER"));
    EXPECT_FALSE(nv::EqualsNoCase("Header", "Headers"));
    EXPECT_FALSE(nv::EqualsNoCase("\xC4", "\xE4"));
    EXPECT_EQ("a b", nv::Trim(" \t\r\na b\n "));
    EXPECT_EQ("", nv::Trim(" \t "));
}

TEST(ExtractSubString, SplitsLikeTheFramework)
{
    const struct {
        const char *name, *full;
        int index;
        bool found;
        const char* field;
    } rows[] = {
        {"second of two", "a;b", 1, true, "b"},      {"past the end", "a;b", 2, false, ""},
        {"empty middle field", "a;;c", 1, true, ""}, {"empty text", "", 0, true, ""},
        {"negative index", "a", -1, false, ""},
    };
    for (const auto& row : rows) {
        std::string out = "stale";
        EXPECT_EQ(row.found, nv::ExtractSubString(out, row.full, row.index, ';')) << row.name;
        EXPECT_EQ(row.field, out) << row.name;
    }
}

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
