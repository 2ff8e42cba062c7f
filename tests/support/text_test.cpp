#include "support/text.h"

#include <gtest/gtest.h>

namespace {

TEST(FormatText, SizesItsBufferToTheArguments)
{
    std::string huge(100000, 'x');
    std::string text = nv::FormatText("[%s|%s]", huge.c_str(), huge.c_str());
    ASSERT_EQ(200003u, text.size());
    EXPECT_EQ('[', text.front());
    EXPECT_EQ('|', text[100001]);
    EXPECT_EQ(']', text.back());
}

TEST(FormatText, NullOrEmptyFormatGivesEmptyText)
{
    EXPECT_EQ("", nv::FormatText(nullptr));
    EXPECT_EQ("", nv::FormatText("%s", ""));
    EXPECT_EQ("-5 7", nv::FormatText("%ld %d", -5L, 7));
}

TEST(CaseMapping, ChangesOnlyAsciiLetters)
{
    // 0xC4 and 0xE4 are the umlaut A in code page 1252: the "C" locale leaves them alone.
    EXPECT_EQ("abc\xC4z1", nv::ToLower("AbC\xC4Z1"));
    EXPECT_EQ("ABC\xE4Z1", nv::ToUpper("abc\xE4z1"));
    EXPECT_TRUE(nv::EqualsNoCase("Header", "HEADER"));
    EXPECT_FALSE(nv::EqualsNoCase("Header", "Headers"));
    EXPECT_FALSE(nv::EqualsNoCase("\xC4", "\xE4"));
}

TEST(Trim, RemovesBlanksAndLineBreaksAtBothEnds)
{
    EXPECT_EQ("a b", nv::Trim(" \t\r\na b\n "));
    EXPECT_EQ("", nv::Trim(" \t "));
    EXPECT_EQ("", nv::Trim(""));
}

struct SubStringCase {
    const char* name;
    const char* full;
    int index;
    bool found;
    const char* field;
};

TEST(ExtractSubString, SplitsLikeTheFramework)
{
    const SubStringCase cases[] = {
        {"first of two", "a;b", 0, true, "a"},
        {"second of two", "a;b", 1, true, "b"},
        {"past the end", "a;b", 2, false, ""},
        {"empty middle field", "a;;c", 1, true, ""},
        {"trailing separator", "a;", 1, true, ""},
        {"empty text", "", 0, true, ""},
        {"empty text, second field", "", 1, false, ""},
        {"negative index", "a", -1, false, ""},
    };
    for (const SubStringCase& c : cases) {
        std::string out = "stale";
        EXPECT_EQ(c.found, nv::ExtractSubString(out, c.full, c.index, ';')) << c.name;
        EXPECT_EQ(c.field, out) << c.name;
    }
}

} // namespace
