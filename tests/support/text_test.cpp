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
