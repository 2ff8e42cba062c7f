// Version texts as constraint attributes, download conditions and callers
// write them: lenient parsing, part-wise unsigned comparison, "%ld" text form.
#include "constraint/version_number.h"

#include <gtest/gtest.h>

namespace {

TEST(VersionNumber, ParsesTextsLikeTheSuiteWritesThem)
{
    const struct { const char *name, *text, *textForm; } rows[] = {
        {"empty", "", "0.0.0.0"},
        {"full", "1.2.3.4", "1.2.3.4"},
        {"commas and dots", "1,2.3,4", "1.2.3.4"},
        {"partial", "2.10", "2.10.0.0"},
        {"over-long", "1.2.3.4.x.5", "1.2.3.4"},
        {"malformed", "12abc.3rc1", "12.3.0.0"},
        {"no digits", "abc", "0.0.0.0"},
        {"double dot", "1..3", "1.0.3.0"},
        {"leading blanks and plus", " \t+7.x", "7.0.0.0"},
        {"negative", "1.-2", "1.-2.0.0"},
        {"high parts written as negative", "-1.-2147483648", "-1.-2147483648.0.0"},
        {"saturates high", "99999999999999999999", "2147483647.0.0.0"},
        {"saturates low", "-99999999999999999999", "-2147483648.0.0.0"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.textForm, CVersionNumber(row.text).Text()) << row.name;
}

TEST(VersionNumber, ComparesPartByPartAsUnsignedNumbers)
{
    const struct { const char *name, *a, *b; int order; } rows[] = {
        {"missing parts are zero", "2.10", "2.10.0.0", 0},
        {"commas equal dots", "1,2,3,4", "1.2.3.4", 0},
        {"numeric not textual", "2.9", "2.10", -1},
        {"major decides first", "3.0", "2.99.99.99", 1},
        {"revision decides last", "1.2.3.4", "1.2.3.5", -1},
        {"minus one is huge", "-1", "4000.0", 1},
        {"garbage is zero", "abc", "", 0},
    };
    for (const auto& row : rows) {
        CVersionNumber a(row.a), b(row.b);
        EXPECT_EQ(row.order, CompareVersionTexts(row.a, row.b)) << row.name;
        EXPECT_EQ(-row.order, CompareVersionTexts(row.b, row.a)) << row.name << " (swapped)";
        EXPECT_EQ(row.order < 0, Less(a, b)) << row.name;
        EXPECT_EQ(row.order > 0, Greater(a, b)) << row.name;
        EXPECT_EQ(row.order == 0, a == b) << row.name;
        EXPECT_EQ(row.order != 0, a != b) << row.name;
    }
}

TEST(VersionNumber, RangeBoundsAreInclusiveAndEmptyBoundsOpen)
{
    const struct { const char *name, *version, *low, *high; bool inRange; } rows[] = {
        {"open above", "1.5", "1.0", "", true},
        {"above high", "1.5", "", "1.4.9", false},
        {"below low", "0.9", "1.0", "", false},
        {"no bounds", "0.0", "", "", true},
        {"both inclusive", "2.0.0.0", "2", "2.0", true},
        {"between", "1.7.3", "1.5", "1.10", true},
        // A bound that reads as 0.0.0.0 is still a bound once it is written.
        {"zero text high is a bound", "0.0.0.1", "", "0", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.inRange, IsVersionInRange(row.version, row.low, row.high)) << row.name;
}

} // namespace
