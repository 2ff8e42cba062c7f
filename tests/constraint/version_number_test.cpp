// Version texts as constraint attributes, download conditions and callers
// write them: lenient parsing, part-wise unsigned comparison, "%ld" text form.
#include "constraint/version_number.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

TEST(VersionNumber, ParsesTextsLikeTheSuiteWritesThem)
{
    const struct {
        const char *name, *text, *textForm;
    } rows[] = {
        {"empty", "", "0.0.0.0"},
        {"commas and dots", "1,2.3,4", "1.2.3.4"},
        {"partial", "2.10", "2.10.0.0"},
        {"over-long", "1.2.3.4.x.5", "1.2.3.4"},
        {"malformed", "12abc.3rc1", "12.3.0.0"},
        {"leading blanks and plus", " \t+7.x", "7.0.0.0"},
        {"high parts written as negative", "-1.-2147483648", "-1.-2147483648.0.0"},
        {"saturates high", "99999999999999999999", "2147483647.0.0.0"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.textForm, CVersionNumber(row.text).Text()) << row.name;
}

// Empty range bounds are open, set ones inclusive: a one-bound range follows the order, and
// equal bounds hold only their own version.
TEST(VersionNumber, ComparesPartByPartAsUnsignedNumbersAlsoInRanges)
{
    const struct {
        const char *name, *a, *b;
        int order;
    } rows[] = {
        {"missing parts are zero", "2.10", "2.10.0.0", 0},
        {"numeric not textual", "2.9", "2.10", -1},
        {"major decides first", "3.0", "2.99.99.99", 1},
        {"revision decides last", "1.2.3.4", "1.2.3.5", -1},
        {"minus one is huge", "-1", "4000.0", 1},
        {"a zero text is still a bound", "0.0.0.1", "0", 1},
    };
    for (const auto& row : rows) {
        CVersionNumber a(row.a), b(row.b);
        EXPECT_EQ(row.order, nv::CompareVersionTexts(row.a, row.b)) << row.name;
        EXPECT_EQ(-row.order, nv::CompareVersionTexts(row.b, row.a)) << row.name << " (swapped)";
        const int o = row.order;
        EXPECT_EQ(std::make_tuple(o<0, o> 0, o == 0, o != 0, o >= 0, o <= 0, o == 0),
                  std::make_tuple(nv::Less(a, b), nv::Greater(a, b), a == b, a != b,
                                  nv::IsVersionInRange(row.a, row.b, ""),
                                  nv::IsVersionInRange(row.a, "", row.b),
                                  nv::IsVersionInRange(row.a, row.b, row.b)))
            << row.name;
    }
}

} // namespace
