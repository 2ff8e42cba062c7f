// The feed file an index entry names is the last component of its address,
// whichever separator the address uses.
#include "news/feed_index.h"

#include <gtest/gtest.h>

namespace {

TEST(FeedIndex, FeedFileNameIsTheLastComponentOfTheUrl)
{
    struct Row {
        const char* url;
        const char* expected;
    } rows[] = {
        {"http://news.example/a/b/news.xml", "news.xml"},
        {"a\\b/c", "c"},
        {"a/b\\c", "c"},
        {"news.xml", "news.xml"},
        {"folder/", ""},
        {"", ""},
        {"\\\\server\\share\\f\xFCr.xml", "f\xFCr.xml"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, LastUrlComponent(row.url)) << row.url;
}

} // namespace
