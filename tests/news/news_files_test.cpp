// Where news files are found: the feed file name from an index entry's source
// address, and the per-user state file of a feed.
#include "news/feed_index.h"
#include "news/news_files.h"
#include "harness/temp_folder.h"
#include "state_folder_test_base.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

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

using NewsStatePath = StateFolderTest;

TEST_F(NewsStatePath, IsTheFeedNameWithConfInTheUsersStateFolder)
{
    std::string folder = m_root + "\\Gemeinsame Dateien\\UpdateManager";
    struct Row {
        const char* feedPath;
        const char* expectedName;
    } rows[] = {
        {"C:\\Daten\\feeds\\qdpro-news.xml", "qdpro-news.xml.conf"},
        {"D:\\andere\\qdpro-news.xml", "qdpro-news.xml.conf"},
        {"news.xml", "news.xml.conf"},
        {"C:\\Daten\\Neuigkeiten f\xFCr Sie.xml", "Neuigkeiten f\xFCr Sie.xml.conf"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(folder + "\\" + row.expectedName, GetNewsStateFilePath(row.feedPath))
            << row.feedPath;
    DWORD attributes = GetFileAttributesA(folder.c_str());
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, attributes);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(NewsStatePath, IsEmptyWhenItCannotFitIntoMaxPath)
{
    EXPECT_EQ("", GetNewsStateFilePath("C:\\feeds\\" + std::string(250, 'n') + ".xml"));
}

TEST(NewsFolderChain, IsCreatedFromTheDriveDown)
{
    TempFolder temp;
    struct Row {
        const char* name;
        const char* tail;
        const char* created;
    } rows[] = {
        {"backslashes", "\\a\\b\\c", "\\a\\b\\c"},
        {"forward slashes", "/d/e", "\\d\\e"},
        {"trailing separator", "\\f\\g\\", "\\f\\g"},
        {"mixed", "\\h/i\\j", "\\h\\i\\j"},
    };
    for (const Row& row : rows) {
        CreateFolderChain(temp.Path() + row.tail);
        DWORD attributes = GetFileAttributesA((temp.Path() + row.created).c_str());
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, attributes) << row.name;
        EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY) << row.name;
    }
}

} // namespace
