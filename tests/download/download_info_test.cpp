// Loading NDC files into the model: result codes, duplicate sections and
// group linking.
#include "download/download_info.h"

#include "download/download_item_group.h"
#include "dialog_capture.h"
#include "harness/temp_folder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// "section" or "group(member,member,)" per entry, "!" when the map misses it; the map's size.
std::string Describe(const DownloadItemList& list, const DownloadItemMap& map)
{
    std::string text;
    for (const auto& item : list) {
        text += item->m_strSection;
        if (auto* group = dynamic_cast<CDownloadItemGroup*>(item.get())) {
            text += "(";
            for (const auto& member : group->Members())
                text += member->m_strSection + ",";
            text += ")";
        }
        text += map.count(item->m_strSection) && map.at(item->m_strSection) == item.get() ? " " : "! ";
    }
    return text + "| " + std::to_string(map.size());
}

TEST(DownloadInfo, LoadFileBuildsListsMapsAndGroups)
{
    const struct {
        const char* name;
        std::string content;
        int result;
        std::string model;
    } rows[] = {
        {"header only", "[Header]\nName=H\n", 0, "header | 1"},
        {"sections without keys", "[A]\n[B]\n", 0, "a b | 2"},
        {"group with two members", "[i1]\nMyGroup=grp\n[grp]\nDateVer=5\n[i2]\nMyGroup=GRP\n", 0,
         "grp(i1,i2,) | 1"},
        {"group without DateVer", "[i1]\nMyGroup=grp\n[grp]\n[i2]\nMyGroup=grp\n", -5, ""},
        {"member names a missing group", "[i1]\nMyGroup=none\n", -5, ""},
        {"group names itself", "[grp]\nDateVer=1\nMyGroup=grp\n", -5, ""},
        {"dnload never joins a group", "[dnload]\nMyGroup=nothing\n", 0, "dnload | 1"},
        {"nested group, members first", "[m]\nMyGroup=inner\n[inner]\nDateVer=1\nMyGroup=outer\n[outer]\nDateVer=1\n",
         0, "outer(inner,) | 1"},
        {"nested group, member after it", "[inner]\nDateVer=1\nMyGroup=outer\n[outer]\nDateVer=1\n[m]\nMyGroup=inner\n",
         -5, ""},
        {"two groups naming each other", "[a]\nDateVer=1\nMyGroup=b\n[b]\nDateVer=1\nMyGroup=a\n", -5, ""},
    };
    TempFolder folder;
    for (const auto& row : rows) {
        const std::string path = folder.Write("load.ndc", row.content);
        CDownloadInfo info;
        EXPECT_EQ(row.result, info.LoadFile(path.c_str(), &info.m_aNewItems, &info.m_mapNewItems))
            << row.name;
        if (row.result == 0) {
            EXPECT_EQ(row.model, Describe(info.m_aNewItems, info.m_mapNewItems)) << row.name;
        }
    }
    CDownloadInfo info;
    EXPECT_EQ(-1, info.LoadFile(nullptr, &info.m_aOldItems, &info.m_mapOldItems));
    EXPECT_EQ(-2, info.LoadFile(folder.File("load.ndc").c_str(), nullptr, &info.m_mapOldItems));
    EXPECT_EQ(-3, info.LoadFile(folder.File("missing.ndc").c_str(), &info.m_aOldItems,
                                &info.m_mapOldItems));
    EXPECT_TRUE(info.m_aOldItems.empty());
}

TEST(DownloadInfo, DuplicateSectionsAreReportedAndSkipped)
{
    TempFolder folder;
    const std::string path =
        folder.Write("dup.ndc", "[Alpha]\nName=first\n[Beta]\n[alpha]\nName=second\n[Beta]\n");
    CDownloadInfo info;
    DialogCapture capture;
    EXPECT_EQ(0, info.LoadFile(path.c_str(), &info.m_aNewItems, &info.m_mapNewItems));
    ASSERT_EQ(2u, capture.Dialogs().size());
    EXPECT_EQ("Fehler in der Konfigurationsdatei", capture.Dialogs()[0].caption);
    EXPECT_EQ("Der Eintrag [alpha] wird mehrfach in der Konfigurationsdatei verwendet!",
              capture.Dialogs()[0].text);
    EXPECT_EQ(nullptr, capture.Dialogs()[0].owner);
    EXPECT_EQ("Der Eintrag [Beta] wird mehrfach in der Konfigurationsdatei verwendet!",
              capture.Dialogs()[1].text);
    ASSERT_EQ(2u, info.m_aNewItems.size());
    EXPECT_EQ("first", info.m_mapNewItems.at("alpha")->GetName());
}

} // namespace
