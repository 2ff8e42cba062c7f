// Display dates in the user's (German) notation, ordered in time also before
// the OLE epoch, where the fraction counts away from day zero; the feed file an
// index entry names is the last component of its address, whichever separator.
#include "news/feed_index.h"
#include "news/news_date.h"

#include <gtest/gtest.h>

namespace {

TEST(NewsDate, ParsedDatesAreOrderedInTime)
{
    const struct {
        const char *name, *date, *reference;
        bool later;
    } rows[] = {
        {"date without time after the evening before", "01.01.2027", "31.12.2026 23:59:59", true},
        {"date without time is midnight", "01.01.2027", "01.01.2027 00:00", false},
        {"not a date as reference", "31.12.2026", "bald", false},
        {"morning after midnight before 1899", "29.12.1899 06:00", "29.12.1899", true},
        {"evening before the epoch day's morning", "29.12.1899 18:00", "30.12.1899 06:00", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.later,
                  nv::IsLaterDate(nv::ParseNewsDate(row.date), nv::ParseNewsDate(row.reference)))
            << row.name;
}

TEST(FeedIndex, FeedFileNameIsTheLastComponentOfTheUrl)
{
    const struct {
        const char *url, *expected;
    } rows[] = {
        {"a\\b/c", "c"},
        {"a/b\\c", "c"},
        {"news.xml", "news.xml"},
        {"folder/", ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.expected, nv::LastUrlComponent(row.url)) << row.url;
}

} // namespace
