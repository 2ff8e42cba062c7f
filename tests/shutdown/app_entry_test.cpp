// The application entry list as callers write it, and the seconds it gives a close method.
#include "shutdown/app_entry.h"
#include "shutdown/close_methods.h"
#include "support/text.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

TEST(AppEntry, ParsesEveryPiece)
{
    const char* const D = "Anwendung beenden";
    struct Row {
        const char *name, *text;
        char method;
        unsigned long long seconds;
        const char *appName, *property /* null: none */, *message, *caption;
    } rows[] = {
        {"plain name", "QdPro.exe", 0, 0, "qdpro.exe", nullptr, "", D},
        {"dash option, lower case", "-r5App", 'R', 5, "app", nullptr, "", D},
        {"option without digits", "/Papp", 'P', 0, "app", nullptr, "", D},
        {"ten digits at most", "/S12345678901app", 'S', 1234567890ULL, "1app", nullptr, "", D},
        {"ten nines do not wrap", "/X9999999999a", 'X', 9999999999ULL, "a", nullptr, "", D},
        {"other character is kept", "/730app", '7', 30, "app", nullptr, "", D},
        {"option character alone", "/", 0, 0, "", nullptr, "", D},
        {"option only in front", "app/X30", 0, 0, "app/x30", nullptr, "", D},
        {"property with text around", "x'Prop'y#M", 0, 0, "x'prop'y", "prop", "M", D},
        {"property without closing apostrophe", "/N'Open", 'N', 0, "'open", "open", "", D},
        {"apostrophe only in the message", "app#it's", 0, 0, "app", nullptr, "it's", D},
        {"empty property", "''", 0, 0, "''", "", "", D},
    };
    for (const Row& row : rows) {
        nv::AppEntry e = nv::ParseAppEntry(row.text);
        EXPECT_EQ(std::make_tuple(row.method, row.seconds, std::string(row.appName),
                                  row.property != nullptr, nv::FromNullable(row.property),
                                  std::string(row.message), std::string(row.caption)),
                  std::make_tuple(e.method, e.seconds, e.name, e.hasProperty, e.propertyName,
                                  e.message, e.caption))
            << row.name;
    }
}

TEST(AppEntry, ListKeepsOrderAndEmptyEntries)
{
    using List = std::vector<std::string>;
    EXPECT_EQ(List(), nv::SplitAppEntryList(""));
    EXPECT_EQ((List{"/X3b", "a#m"}), nv::SplitAppEntryList("/X3b;a#m"));
    EXPECT_EQ((List{"a", "", "b", ""}), nv::SplitAppEntryList("a;;b;"));
}

// Seconds beyond a DWORD of milliseconds must not wrap into a short (or infinite) wait.
TEST(SecondsToTimeout, SaturatesBelowInfinite)
{
    EXPECT_EQ(30000u, nv::SecondsToTimeout(30));
    EXPECT_EQ(4294967000u, nv::SecondsToTimeout(4294967));
    EXPECT_EQ(INFINITE - 1, nv::SecondsToTimeout(4294968));
}

} // namespace
