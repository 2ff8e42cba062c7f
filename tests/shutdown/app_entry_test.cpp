// The application entry list as callers write it.
#include "shutdown/app_entry.h"

#include <gtest/gtest.h>

namespace {

TEST(AppEntry, ParsesEveryPiece)
{
    const char* const D = "Anwendung beenden";
    struct Row {
        const char* name;
        const char* text;
        char method;
        unsigned long long seconds;
        const char* appName;
        bool hasProperty;
        const char* property;
        const char* message;
        const char* caption;
    } rows[] = {
        {"plain name", "QdPro.exe", 0, 0, "qdpro.exe", false, "", "", D},
        {"slash option with seconds", "/X30qdpro.exe", 'X', 30, "qdpro.exe", false, "", "", D},
        {"dash option, lower case", "-r5App", 'R', 5, "app", false, "", "", D},
        {"option without digits", "/Papp", 'P', 0, "app", false, "", "", D},
        {"ten digits at most", "/S12345678901app", 'S', 1234567890ULL, "1app", false, "", "", D},
        {"ten nines do not wrap", "/X9999999999a", 'X', 9999999999ULL, "a", false, "", "", D},
        {"other character is kept", "/730app", '7', 30, "app", false, "", "", D},
        {"option character alone", "/", 0, 0, "", false, "", "", D},
        {"letter alone", "-q", 'Q', 0, "", false, "", "", D},
        {"option only in front", "app/X30", 0, 0, "app/x30", false, "", "", D},
        {"empty entry", "", 0, 0, "", false, "", "", D},
        {"message without caption", "app#Schlie\xDF" "en", 0, 0, "app", false, "",
         "Schlie\xDF" "en", D},
        {"message and caption", "/F2App#Text#Titel", 'F', 2, "app", false, "", "Text", "Titel"},
        {"caption stops at a further #", "a#m#c#rest", 0, 0, "a", false, "", "m", "c"},
        {"empty caption part", "a#m#", 0, 0, "a", false, "", "m", ""},
        {"empty message part", "a##c", 0, 0, "a", false, "", "", "c"},
        {"property in apostrophes", "'NvClose'", 0, 0, "'nvclose'", true, "nvclose", "", D},
        {"property with text around", "x'Prop'y#M", 0, 0, "x'prop'y", true, "prop", "M", D},
        {"property without closing apostrophe", "/N'Open", 'N', 0, "'open", true, "open", "", D},
        {"apostrophe only in the message", "app#it's", 0, 0, "app", false, "", "it's", D},
        {"empty property", "''", 0, 0, "''", true, "", "", D},
        {"umlauts keep their bytes", "\xC4pp\xFC", 0, 0, "\xC4pp\xFC", false, "", "", D},
    };
    for (const Row& row : rows) {
        nv::AppEntry entry = nv::ParseAppEntry(row.text);
        EXPECT_EQ(row.method, entry.method) << row.name;
        EXPECT_EQ(row.seconds, entry.seconds) << row.name;
        EXPECT_EQ(row.appName, entry.name) << row.name;
        EXPECT_EQ(row.hasProperty, entry.hasProperty) << row.name;
        EXPECT_EQ(row.property, entry.propertyName) << row.name;
        EXPECT_EQ(row.message, entry.message) << row.name;
        EXPECT_EQ(row.caption, entry.caption) << row.name;
    }
}

TEST(AppEntry, ListKeepsOrderAndEmptyEntries)
{
    using List = std::vector<std::string>;
    EXPECT_EQ(List(), nv::SplitAppEntryList(""));
    EXPECT_EQ((List{"/X3b", "a#m"}), nv::SplitAppEntryList("/X3b;a#m"));
    EXPECT_EQ((List{"a", "", "b", ""}), nv::SplitAppEntryList("a;;b;"));
}

} // namespace
