// The product reading that the update infos count news with: read and hidden
// items left out, the count summed over the product's feeds.
#include "news/news_files.h"
#include "news/news_reader.h"
#include "harness/registry_sandbox.h"
#include "harness/temp_folder.h"
#include "frame/constants.h"
#include "xml/nv_xml_document.h"
#include "state_folder_test_base.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

using ProductNews = StateFolderTest;

TEST_F(ProductNews, CountsTheItemsItMovesIntoTheCallersChannel)
{
    CoInitialize(nullptr);
    TempFolder temp;
    RegistrySandbox registry;
    const std::string key = "Software\\NvinfoNewsReaderTest";
    registry.SetString(HKEY_CURRENT_USER, key, "Daten", temp.Path());
    std::string prefix = "nvr" + std::to_string(GetCurrentProcessId()) + "-";
    std::string first = temp.Write(prefix + "eins.xml",
                                   "<rss><channel><title>Eins</title>"
                                   "<item><guid>e1</guid></item><item><guid>e2</guid></item>"
                                   "<item><guid>e3</guid></item></channel></rss>");
    std::string second = temp.Write(prefix + "zwei.xml",
                                    "<rss><channel><item><guid>z1</guid></item></channel></rss>");
    std::string state = GetNewsStateFilePath(first);
    {
        HANDLE file = CreateFileA(state.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        const char content[] = "<rss><channel><item><guid>e1</guid><read>1</read></item>"
                               "<item><guid>e3</guid><dontshow>1</dontshow></item></channel></rss>";
        DWORD written = 0;
        WriteFile(file, content, sizeof(content) - 1, &written, nullptr);
        CloseHandle(file);
    }
    std::string entry = "<RegistryDestination>HKCU\\" + key + "\\Daten</RegistryDestination>";
    temp.Write("qdpro.feed", "<NvFeeds><NvFeed><Url>" + prefix + "eins.xml</Url>" + entry +
                                 "</NvFeed><NvFeed><Url>" + prefix + "zwei.xml</Url>" + entry +
                                 "</NvFeed></NvFeeds>");

    CNvXmlDocument news;
    news.LoadXml(nv::kEmptyFeed);
    CNvXmlNode channel = news.SelectSingleNode("channel");
    struct Row {
        const char* name;
        BOOL includeRead;
        BOOL includeHidden;
        int expected;
    } rows[] = {
        {"unread and shown only", FALSE, FALSE, 2},
        {"with read", TRUE, FALSE, 3},
        {"everything", TRUE, TRUE, 4},
    };
    for (const Row& row : rows) {
        int count = 99;
        ReadProductFeeds(channel, "qdpro", "", row.includeRead, row.includeHidden, &count,
                         "HKCU\\" + key + "\\Daten");
        EXPECT_EQ(row.expected, count) << row.name;
    }
    // Items are moved out of the feeds read, so the channel holds each read's
    // title and items: 1 + 2, 1 + 3, 1 + 4.
    CNvXmlNodeList moved = news.SelectNodes("channel/*");
    int movedCount = 0;
    while (movedCount < 100 && moved.Next())
        ++movedCount;
    EXPECT_EQ(12, movedCount);
    DeleteFileA(state.c_str());
}

} // namespace
