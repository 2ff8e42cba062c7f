// Loading NDC files into the model: result codes, duplicate sections, group
// linking and the counts of new items.
#include "download/download_info.h"

#include "download/download_item_group.h"
#include "dialog_capture.h"
#include "harness/temp_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kFailing = "Installiert=/RHKLM\\NOPE\\X\n";

// The list as "section" or "section(member,member,)" entries ("!" when the map
// does not lead to the entry), then the size of the map.
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
        {"binary garbage", std::string("\x01\x02\xFF\x00[\x91]\n[\x90]\n\x1A==\n", 18), 0, "\x90 | 1"},
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
    const std::string path = folder.Write("codes.ndc", "[A]\n");
    EXPECT_EQ(-1, info.LoadFile(nullptr, &info.m_aOldItems, &info.m_mapOldItems));
    EXPECT_EQ(-2, info.LoadFile(path.c_str(), nullptr, &info.m_mapOldItems));
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

TEST(DownloadInfo, CountNewItemsFindsInstallableNewOrNewerItems)
{
    const struct {
        const char* name;
        std::string oldFile;
        std::string newFile;
        int count;
    } rows[] = {
        {"same edition installed", "[A]\nDateVer=5\nUpdate=1\n", "[A]\nDateVer=5\n", 0},
        {"newer edition", "[A]\nDateVer=5\nUpdate=1\n", "[A]\nDateVer=6\n", 1},
        {"not installed in the old file", "[A]\nDateVer=5\n", "[A]\nDateVer=5\n", 1},
        {"newer but not installable", "[A]\nDateVer=5\nUpdate=1\n", "[A]\nDateVer=6\n" + kFailing, 0},
        {"new items count each, uninstallable not", "[Header]\n", "[A]\n[B]\n" + kFailing + "[C]\n", 2},
        {"headers and non-items do not count", "", "[Header]\n[Konfiguration]\n[!x]\n[~y]\n[@z]\n", 0},
        {"group only in the new file", "", "[m1]\nMyGroup=g\n[g]\nDateVer=1\n[m2]\nMyGroup=g\n" + kFailing, 0},
    };
    TempFolder folder;
    const std::string newPath = folder.File("new.ndc");
    for (const auto& row : rows) {
        const std::string oldPath = folder.Write("old.ndc", row.oldFile);
        folder.Write("new.ndc", row.newFile);
        CDownloadInfo info;
        EXPECT_EQ(row.count, info.CountNewItems(oldPath.c_str(), newPath.c_str())) << row.name;
    }
    CDownloadInfo info;
    EXPECT_EQ(-1, info.CountNewItems(nullptr, newPath.c_str()));
    EXPECT_EQ(-3, info.CountNewItems(folder.File("none.ndc").c_str(), newPath.c_str()));
}

} // namespace
