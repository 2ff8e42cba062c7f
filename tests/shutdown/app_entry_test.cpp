// The application entry list as callers write it.
#include "shutdown/app_entry.h"

#include <gtest/gtest.h>

namespace {

using nv::AppEntry;

struct EntryRow {
    const char* name;
    const char* text;
    char method;
    unsigned long long seconds;
    const char* appName;
    bool hasProperty;
    const char* property;
    const char* message;
    const char* caption;
};

const char* const kDefault = "Anwendung beenden";

const EntryRow kEntries[] = {
    {"plain name", "QdPro.exe", 0, 0, "qdpro.exe", false, "", "", kDefault},
    {"slash option with seconds", "/X30qdpro.exe", 'X', 30, "qdpro.exe", false, "", "", kDefault},
    {"dash option, lower case", "-r5App", 'R', 5, "app", false, "", "", kDefault},
    {"option without digits", "/Papp", 'P', 0, "app", false, "", "", kDefault},
    {"ten digits at most", "/S12345678901app", 'S', 1234567890ULL, "1app", false, "", "", kDefault},
    {"ten nines do not wrap", "/X9999999999a", 'X', 9999999999ULL, "a", false, "", "", kDefault},
    {"other character is kept", "/730app", '7', 30, "app", false, "", "", kDefault},
    {"option character alone", "/", 0, 0, "", false, "", "", kDefault},
    {"letter alone", "-q", 'Q', 0, "", false, "", "", kDefault},
    {"option only in front", "app/X30", 0, 0, "app/x30", false, "", "", kDefault},
    {"empty entry", "", 0, 0, "", false, "", "", kDefault},
    {"message without caption", "app#Bitte schlie\xDF" "en", 0, 0, "app", false, "",
     "Bitte schlie\xDF" "en", kDefault},
    {"message and caption", "/F2App#Text#Titel", 'F', 2, "app", false, "", "Text", "Titel"},
    {"caption stops at a further #", "a#m#c#rest", 0, 0, "a", false, "", "m", "c"},
    {"empty caption part", "a#m#", 0, 0, "a", false, "", "m", ""},
    {"empty message part", "a##c", 0, 0, "a", false, "", "", "c"},
    {"property in apostrophes", "'NvClose'", 0, 0, "'nvclose'", true, "nvclose", "", kDefault},
    {"property with text around", "x'Prop'y#M", 0, 0, "x'prop'y", true, "prop", "M", kDefault},
    {"property without closing apostrophe", "/N'OpenEnd", 'N', 0, "'openend", true, "openend",
     "", kDefault},
    {"apostrophe only in the message", "app#it's", 0, 0, "app", false, "", "it's", kDefault},
    {"empty property", "''", 0, 0, "''", true, "", "", kDefault},
    {"umlauts keep their bytes", "\xC4pp\xFC", 0, 0, "\xC4pp\xFC", false, "", "", kDefault},
};

TEST(AppEntry, ParsesEveryPiece)
{
    for (const EntryRow& row : kEntries) {
        AppEntry entry = nv::ParseAppEntry(row.text);
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
    struct Row {
        const char* name;
        const char* list;
        std::vector<std::string> entries;
    } rows[] = {
        {"empty list", "", {}},
        {"one entry", "a", {"a"}},
        {"in order", "/X3b;a#m", {"/X3b", "a#m"}},
        {"two separators in a row", "a;;b", {"a", "", "b"}},
        {"trailing separator", "a;", {"a", ""}},
        {"separator alone", ";", {"", ""}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.entries, nv::SplitAppEntryList(row.list)) << row.name;
}

TEST(AppEntry, PathMatchesOnlyAfterItsStart)
{
    struct Row {
        const char* name;
        const char* entryName;
        const char* path;
        bool matches;
    } rows[] = {
        {"file name", "qdpro.exe", "C:\\Programme\\QdPro\\QDPRO.EXE", true},
        {"folder fragment", "\\qdpro\\", "C:\\Programme\\QdPro\\q.exe", true},
        {"whole path", "c:\\programme\\qdpro\\qdpro.exe", "C:\\Programme\\QdPro\\QdPro.exe", false},
        {"start of the path", "c:\\", "C:\\x\\c:\\y.exe", false},
        {"not in the path", "wtpro", "C:\\Programme\\QdPro\\QdPro.exe", false},
        {"empty name", "", "C:\\a.exe", false},
        {"empty path", "a", "", false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.matches, nv::ProcessPathMatches(row.entryName, row.path)) << row.name;
}

} // namespace
