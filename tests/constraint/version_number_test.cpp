// Version texts as constraint attributes, download conditions and callers
// write them: lenient parsing, part-wise unsigned comparison, "%ld" text form.
#include "constraint/version_number.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

struct ParseRow {
    const char* name;
    const char* text;
    uint32_t parts[4];
    const char* textForm;
};

const ParseRow kParseRows[] = {
    {"empty", "", {0, 0, 0, 0}, "0.0.0.0"},
    {"full", "1.2.3.4", {1, 2, 3, 4}, "1.2.3.4"},
    {"commas", "1,2,3,4", {1, 2, 3, 4}, "1.2.3.4"},
    {"mixed separators", "1,2.3,4", {1, 2, 3, 4}, "1.2.3.4"},
    {"major only", "5", {5, 0, 0, 0}, "5.0.0.0"},
    {"two parts", "2.10", {2, 10, 0, 0}, "2.10.0.0"},
    {"over-long", "1.2.3.4.5", {1, 2, 3, 4}, "1.2.3.4"},
    {"over-long with garbage", "1.2.3.4.x.y.z", {1, 2, 3, 4}, "1.2.3.4"},
    {"no digits", "abc", {0, 0, 0, 0}, "0.0.0.0"},
    {"leading blank", " 7.x", {7, 0, 0, 0}, "7.0.0.0"},
    {"leading tab and newline", "\t\n8.1", {8, 1, 0, 0}, "8.1.0.0"},
    {"double dot", "1..3", {1, 0, 3, 0}, "1.0.3.0"},
    {"only dots", "...", {0, 0, 0, 0}, "0.0.0.0"},
    {"trailing dot", "4.", {4, 0, 0, 0}, "4.0.0.0"},
    {"digits then letters", "12abc.3rc1", {12, 3, 0, 0}, "12.3.0.0"},
    {"plus sign", "+3.+4", {3, 4, 0, 0}, "3.4.0.0"},
    {"sign alone", "-.+", {0, 0, 0, 0}, "0.0.0.0"},
    {"blank inside number", "1 2.3", {1, 3, 0, 0}, "1.3.0.0"},
    {"minus one", "-1", {4294967295u, 0, 0, 0}, "-1.0.0.0"},
    {"negative minor", "1.-2", {1, 4294967294u, 0, 0}, "1.-2.0.0"},
    {"largest int", "2147483647", {2147483647u, 0, 0, 0}, "2147483647.0.0.0"},
    {"saturates high", "99999999999999999999", {2147483647u, 0, 0, 0}, "2147483647.0.0.0"},
    {"saturates low", "-99999999999999999999", {2147483648u, 0, 0, 0}, "-2147483648.0.0.0"},
    {"leading zeros", "007.010", {7, 10, 0, 0}, "7.10.0.0"},
    {"windows name text", "2.6.1", {2, 6, 1, 0}, "2.6.1.0"},
};

TEST(VersionNumber, ParsesTextsLikeTheSuiteWritesThem)
{
    for (const ParseRow& row : kParseRows) {
        CVersionNumber version(row.text);
        for (int index = 0; index < 4; ++index)
            EXPECT_EQ(row.parts[index], version.Part(index)) << row.name << ", part " << index;
        EXPECT_EQ(row.textForm, version.Text()) << row.name;
    }
}

TEST(VersionNumber, DefaultAndOutOfRangePartsAreZero)
{
    CVersionNumber version;
    EXPECT_EQ("0.0.0.0", version.Text());
    CVersionNumber parsed("9.8.7.6");
    EXPECT_EQ(0u, parsed.Part(-1));
    EXPECT_EQ(0u, parsed.Part(4));
}

TEST(VersionNumber, TextFormWritesHighPartsAsNegative)
{
    CVersionNumber version(65535, 2147483648u, 4294967295u, 0);
    EXPECT_EQ("65535.-2147483648.-1.0", version.Text());
    // The text form read back gives the same value.
    EXPECT_TRUE(CVersionNumber(version.Text()) == version);
}

struct CompareRow {
    const char* name;
    const char* a;
    const char* b;
    int order;
};

const CompareRow kCompareRows[] = {
    {"missing parts are zero", "2.10", "2.10.0.0", 0},
    {"commas equal dots", "1,2,3,4", "1.2.3.4", 0},
    {"numeric not textual", "2.9", "2.10", -1},
    {"major decides first", "3.0", "2.99.99.99", 1},
    {"revision decides last", "1.2.3.4", "1.2.3.5", -1},
    {"build before revision", "1.2.4.0", "1.2.3.9", 1},
    {"minus one is huge", "-1", "4000.0", 1},
    {"unsigned parts", "1.-1", "1.2147483647", 1},
    {"empty is zero", "", "0.0.0.0", 0},
    {"anything above empty", "0.0.0.1", "", 1},
    {"garbage is zero", "abc", "", 0},
};

TEST(VersionNumber, ComparesPartByPartAsUnsignedNumbers)
{
    for (const CompareRow& row : kCompareRows) {
        CVersionNumber a(row.a);
        CVersionNumber b(row.b);
        EXPECT_EQ(row.order, CompareVersionTexts(row.a, row.b)) << row.name;
        EXPECT_EQ(-row.order, CompareVersionTexts(row.b, row.a)) << row.name << " (swapped)";
        EXPECT_EQ(row.order < 0, Less(a, b)) << row.name;
        EXPECT_EQ(row.order > 0, Greater(a, b)) << row.name;
        EXPECT_EQ(row.order == 0, a == b) << row.name;
        EXPECT_EQ(row.order != 0, a != b) << row.name;
    }
}

struct RangeRow {
    const char* name;
    const char* version;
    const char* low;
    const char* high;
    bool inRange;
};

const RangeRow kRangeRows[] = {
    {"open above", "1.5", "1.0", "", true},
    {"above high", "1.5", "", "1.4.9", false},
    {"both bounds equal", "1.5", "1.5", "1.5", true},
    {"below low", "0.9", "1.0", "", false},
    {"no bounds", "0.0", "", "", true},
    {"high inclusive", "2.0.0.0", "1.0", "2", true},
    {"low inclusive", "1", "1.0.0.0", "2", true},
    {"between", "1.7.3", "1.5", "1.10", true},
    {"empty version below low", "", "0.0.0.1", "", false},
    // A bound that reads as 0.0.0.0 is still a bound once it is written.
    {"zero text high is a bound", "0.0.0.1", "", "0", false},
};

TEST(VersionNumber, RangeBoundsAreInclusiveAndEmptyBoundsOpen)
{
    for (const RangeRow& row : kRangeRows)
        EXPECT_EQ(row.inRange, IsVersionInRange(row.version, row.low, row.high)) << row.name;
}

} // namespace
