// The NDC model: loading files (result codes, duplicate sections, group linking) and the merge
// of an old and a new file (what is offered, which keys reach the new file).
#include "download/download_info.h"
#include "download/merge_messages.h"
#include "dialog_capture.h"
#include "ndc_fixture.h"

#include <gtest/gtest.h>
#include <sstream>

// The outline of each entry, "!" when the map misses it; the map's size.
static std::string Describe(const DownloadItemList& list, const DownloadItemMap& map)
{
    std::string text;
    for (const auto& item : list)
        text += Outline(item.get()) + (map.count(item->m_strSection) ? " " : "! ");
    return text + "| " + std::to_string(map.size());
}

// "model" is the outline of the loaded list, or the failing result.
TEST(DownloadInfo, LoadFileBuildsListsMapsAndGroups)
{
    const struct {
        const char *name, *content, *model;
    } rows[] = {
        {"header only", "[Header]\nName=H\n", "header | 1"}, {"no keys", "[A]\n[B]\n", "a b | 2"},
        {"group of two", "[i1]\nMyGroup=grp\n[grp]\nDateVer=5\n[i2]\nMyGroup=GRP\n", "grp(i1:1,i2:1) | 1"},
        {"group without DateVer", "[i1]\nMyGroup=grp\n[grp]\n[i2]\nMyGroup=grp\n", "-5"},
        {"dnload never joins a group", "[dnload]\nMyGroup=nothing\n", "dnload | 1"},
        {"nested, member after it", "[in]\nDateVer=1\nMyGroup=out\n[out]\nDateVer=1\n[m]\nMyGroup=in\n", "-5"},
        {"two groups naming each other", "[a]\nDateVer=1\nMyGroup=b\n[b]\nDateVer=1\nMyGroup=a\n", "-5"},
    };
    TempFolder folder;
    for (const auto& row : rows) {
        const std::string path = folder.Write("load.ndc", row.content);
        CDownloadInfo info;
        const int result = info.LoadFile(path.c_str(), &info.m_aNewItems, &info.m_mapNewItems);
        EXPECT_EQ(row.model, result ? std::to_string(result) : Describe(info.m_aNewItems, info.m_mapNewItems))
            << row.name;
    }
    CDownloadInfo info;
    EXPECT_EQ(-1, info.LoadFile(nullptr, &info.m_aOldItems, &info.m_mapOldItems));
    EXPECT_EQ(-2, info.LoadFile(folder.File("load.ndc").c_str(), nullptr, &info.m_mapOldItems));
    EXPECT_EQ(-3, info.LoadFile(folder.File("none.ndc").c_str(), &info.m_aOldItems, &info.m_mapOldItems));
    EXPECT_TRUE(info.m_aOldItems.empty());
}

// A fetched file may repeat a section hundreds of times: one box per load, not one per repeat.
TEST(DownloadInfo, DuplicateSectionsAreReportedOncePerLoadAndSkipped)
{
    std::string text = "[Alpha]\nName=first\n[Beta]\n";
    for (int repeat = 0; repeat < 300; ++repeat)
        text += repeat % 2 ? "[Beta]\n" : "[alpha]\nName=second\n";
    TempFolder folder;
    const std::string path = folder.Write("dup.ndc", text);
    DialogCapture capture;
    for (int load = 1; load <= 2; ++load) {
        CDownloadInfo info;
        EXPECT_EQ(0, info.LoadFile(path.c_str(), &info.m_aNewItems, &info.m_mapNewItems));
        EXPECT_EQ("alpha beta | 2", Describe(info.m_aNewItems, info.m_mapNewItems));
        EXPECT_EQ("first", info.m_mapNewItems.at("alpha")->GetName());
        ASSERT_EQ(size_t(load), capture.Dialogs().size());
    }
    EXPECT_EQ("Fehler in der Konfigurationsdatei", capture.Dialogs()[0].caption);
    EXPECT_EQ(nullptr, capture.Dialogs()[0].owner);
    EXPECT_EQ("Der Eintrag [alpha] wird mehrfach in der Konfigurationsdatei verwendet!",
              capture.Dialogs()[0].text);
}

#define NEVER "Installiert=/RHKLM\\NOPE\\X\n"
#define I5 "[i]\nDateVer=5\n"
#define I6 "[i]\nDateVer=6\n"
#define GROUP "[grp]\nDateVer=3\n[m1]\nDateVer=1\nMyGroup=grp\n"
#define GROUP_OLD GROUP "Update=1\n[m2]\nDateVer=1\nMyGroup=grp\nUpdate=1\nDownload=1\n"
#define TOOLS_OLD "[dnload]\nDateVer=4\nUpdate=1\n[tool]\nDateVer=1\n"

// One row per situation. "listed" is the outline of what the caller gets, then "/" and what the
// new list keeps; "keys" are "section.key=value" of the new file afterwards.
TEST(DownloadMerge, OutcomesPerSituation)
{
    const struct {
        const char *name, *oldText, *newText;
        BOOL all;
        int result;
        const char *listed, *keys;
    } rows[] = {
        {"new item keeps the fetched flags", "[o]\n", I5 "Update=1\nDownload=1\n", FALSE, 0,
         "i / i ", "i.Update=1 i.Download=1"},
        {"newer, only old flags carried", I5 "Update=1\nDownload=1\nTooltip=old\n", I6 "Name=New\n",
         FALSE, 0, "i / i ", "i.Update=<none> i.Download=<none> i.Tooltip=<none> i.Name=New"},
        {"same, not installed, downloaded", I5 "Download=1\n", I5, FALSE, 0, "i / i ",
         "i.Update=<none> i.Download=1"},
        {"carried number decides the quota", I5 "Quota=500\nQuotaDiced=700\n", I6 "Quota=500\n[j]\n",
         FALSE, 0, "j / j ", "i.QuotaDiced=700"},
        {"the new file's own number is replaced", I5 "QuotaDiced=42\n", I6 "QuotaDiced=41\n", FALSE,
         0, "i / i ", "i.QuotaDiced=42"},
        {"one group member newer", GROUP_OLD, GROUP "[m2]\nDateVer=2\nMyGroup=grp\n", FALSE, 0,
         "grp(m1:0,m2:1) / grp ", "m1.Update=<none>"},
        {"group installed already, kept", GROUP_OLD, GROUP "[m2]\nDateVer=1\nMyGroup=grp\n" NEVER, FALSE,
         0, "/ grp ", "m1.Update=1 m2.Update=1 grp.Update=1"},
        {"same downloader not listed", TOOLS_OLD, "[dnload]\nDateVer=4\n[tool]\nDateVer=2\n", TRUE,
         0, "tool / ", "dnload.Download=1 dnload.Update=1"},
        {"old file without sections", "", I5, TRUE, -1, "/ ", ""},
    };
    TempFolder folder;
    for (const auto& row : rows) {
        const std::string oldPath = folder.Write(std::string(row.name) + ".old.ndc", row.oldText);
        const std::string newPath = folder.Write(std::string(row.name) + ".new.ndc", row.newText);
        CDownloadInfo info;
        DownloadItemRefs list;
        std::string message = "untouched";
        EXPECT_EQ(row.result, info.Merge(list, oldPath.c_str(), newPath.c_str(), row.all, FALSE,
                                         FALSE, &message)) << row.name;
        EXPECT_EQ("untouched", message) << row.name;
        std::string listed;
        for (CDownloadItem* item : list)
            listed += Outline(item) + " ";
        listed += "/ ";
        for (size_t i = 0; !row.all && i < info.m_aNewItems.size(); ++i)
            listed += info.m_aNewItems[i]->m_strSection + " ";
        EXPECT_EQ(row.listed, listed) << row.name;
        std::istringstream checks(row.keys);
        for (std::string check; checks >> check;) {
            const size_t dot = check.find('.'), equals = check.find('=');
            EXPECT_EQ(check.substr(equals + 1), ReadNdcKey(newPath, check.substr(0, dot).c_str(),
                                                           check.substr(dot + 1, equals - dot - 1).c_str()))
                << row.name << ": " << check;
        }
        EXPECT_EQ(row.oldText, ReadWholeFile(oldPath)) << row.name << ": only read";
        EXPECT_TRUE(row.result == 0 || ReadWholeFile(newPath) == row.newText) << row.name;
    }
}

TEST(MergeMessages, NameTheOldFileTheStepAndTheError)
{
    EXPECT_EQ("Es trat ein COM-Fehler beim Mergen der NDC 'C:\\alt.ndc' auf.\nFehler: 4\n"
              "Unknown error 0xA0057777",
              nv::ComMergeMessage("C:\\alt.ndc", 4, nv::ComError(HRESULT(0xA0057777))));
    EXPECT_EQ("Es trat ein MFC-Fehler beim Mergen der NDC 'a.ndc' auf.\nFehler: 1\n" +
                  std::string(254, 'x'),
              nv::FrameworkMergeMessage("a.ndc", 1, std::string(300, 'x').c_str()));
    EXPECT_EQ("Es trat ein unbekannter-Fehler beim Mergen der NDC 'a.ndc' auf.\nFehler: 0\n",
              nv::UnknownMergeMessage("a.ndc", 0));
}
