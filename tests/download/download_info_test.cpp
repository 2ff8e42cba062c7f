// The NDC model: loading files (result codes, duplicate sections, group linking) and the merge
// of an old and a new file (what is offered, which keys reach the new file).
#include "download/download_info.h"
#include "dialog_capture.h"
#include "ndc_fixture.h"

#include <gtest/gtest.h>
#include <vector>

// The outline of each entry, "!" when the map misses it; the map's size.
static std::string Describe(const nv::DownloadItemList& list, const nv::DownloadItemMap& map)
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
        {"no keys", "[A]\n[B]\n", "a b | 2"},
        {"group of two", "[i1]\nMyGroup=grp\n[grp]\nDateVer=5\n[i2]\nMyGroup=GRP\n",
         "grp(i1:1,i2:1) | 1"},
        {"group without DateVer", "[i1]\nMyGroup=grp\n[grp]\n[i2]\nMyGroup=grp\n", "-5"},
        {"dnload never joins a group", "[dnload]\nMyGroup=nothing\n", "dnload | 1"},
        {"nested, member after it",
         "[in]\nDateVer=1\nMyGroup=out\n[out]\nDateVer=1\n[m]\nMyGroup=in\n", "-5"},
        {"two groups naming each other", "[a]\nDateVer=1\nMyGroup=b\n[b]\nDateVer=1\nMyGroup=a\n",
         "-5"},
    };
    TempFolder folder;
    for (const auto& row : rows) {
        const std::string path = folder.Write("load.ndc", row.content);
        CDownloadInfo info;
        const int result = info.LoadFile(path.c_str(), &info.m_aNewItems, &info.m_mapNewItems);
        EXPECT_EQ(row.model,
                  result ? std::to_string(result) : Describe(info.m_aNewItems, info.m_mapNewItems))
            << row.name;
    }
    CDownloadInfo info;
    EXPECT_EQ(-1, info.LoadFile(nullptr, &info.m_aOldItems, &info.m_mapOldItems));
    EXPECT_EQ(-2, info.LoadFile(folder.File("load.ndc").c_str(), nullptr, &info.m_mapOldItems));
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

// A key of the new file after the merge; "<none>" when it is missing.
struct NdcKey {
    const char *section, *key, *value;
};
using NdcKeys = std::vector<NdcKey>;

// "listed" is the outline of what the caller gets, "kept" the sections the new list keeps.
TEST(DownloadMerge, OutcomesPerSituation)
{
    const std::string never = std::string(R"(Installiert=/RHKLM\NOPE\X)") + "\n";
    const std::string group = "[grp]\nDateVer=3\n[m1]\nDateVer=1\nMyGroup=grp\n";
    const std::string groupOld = group + "Update=1\n[m2]\nDateVer=1\nMyGroup=grp\nUpdate=1\n";
    const std::string nested = "[a]\nMyGroup=s1\nUpdate=1\n[b]\nMyGroup=s2\nUpdate=1\n[s2]\n"
                               "DateVer=1\nMyGroup=grp\n[grp]\nDateVer=3\n[s1]\nMyGroup=grp\n";
    const std::string tools = "[dnload]\nDateVer=4\nUpdate=1\n[tool]\nDateVer=1\n";
    const struct {
        const char* name;
        std::string oldText, newText; // newText "-": no new file
        BOOL all, downloaderOnly;
        int result;
        const char *listed, *kept;
        NdcKeys keys;
    } rows[] = {
        {"new items: kept with their flags, or dropped undiced", "[o]\n",
         "[i]\nDateVer=5\nUpdate=1\nDownload=1\n[f]\nQuota=500\n" + never, FALSE, FALSE, 0, "i",
         "i", NdcKeys{{"i", "Update", "1"}, {"i", "Download", "1"}, {"f", "QuotaDiced", "<none>"}}},
        {"newer, only old flags carried", "[i]\nDateVer=5\nUpdate=1\nDownload=1\nTooltip=old\n",
         "[i]\nDateVer=6\nName=New\n", FALSE, FALSE, 0, "i", "i",
         NdcKeys{
             {"i", "Update", "<none>"}, {"i", "Download", "<none>"}, {"i", "Tooltip", "<none>"}}},
        {"same, not installed, downloaded", "[i]\nDateVer=5\nDownload=1\n", "[i]\nDateVer=5\n",
         FALSE, FALSE, 0, "i", "i", NdcKeys{{"i", "Update", "<none>"}, {"i", "Download", "1"}}},
        {"carried number decides the quota", "[i]\nDateVer=5\nQuota=500\nQuotaDiced=700\n",
         "[i]\nDateVer=6\nQuota=500\n[j]\n", FALSE, FALSE, 0, "j", "j",
         NdcKeys{{"i", "QuotaDiced", "700"}}},
        {"one group member newer", groupOld, group + "[m2]\nDateVer=2\nMyGroup=grp\n", FALSE, FALSE,
         0, "grp(m1:0,m2:1)", "grp", NdcKeys{{"m1", "Update", "<none>"}}},
        {"group installed already, kept", groupOld,
         group + "[m2]\nDateVer=1\nMyGroup=grp\n" + never, FALSE, FALSE, 0, "", "grp",
         NdcKeys{{"m1", "Update", "1"}, {"m2", "Update", "1"}, {"grp", "Update", "1"}}},
        {"inner group newer, its neighbour not", nested + "DateVer=1\n", nested + "DateVer=2\n",
         FALSE, FALSE, 0, "grp(s2(b:0),s1(a:1))", "grp", NdcKeys{}},
        {"installed downloader written, not listed", tools,
         "[dnload]\nDateVer=4\n[tool]\nDateVer=2\n", FALSE, TRUE, 0, "tool", "dnload tool",
         NdcKeys{{"dnload", "Download", "1"}, {"dnload", "Update", "1"}}},
        {"newer downloader alone", tools, "[dnload]\nDateVer=5\n[tool]\nDateVer=2\n", TRUE, TRUE, 0,
         "dnload", "dnload tool", NdcKeys{{"dnload", "Update", "<none>"}}},
        {"old file without sections", "", "[i]\nDateVer=5\n", TRUE, FALSE, -1, "", "i", NdcKeys{}},
        {"missing new file", "[i]\n", "-", TRUE, FALSE, -3, "", "", NdcKeys{}},

    };
    TempFolder folder;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string oldPath = folder.Write(std::string(row.name) + ".old.ndc", row.oldText);
        const std::string newPath =
            row.newText == "-" ? folder.File("missing.ndc")
                               : folder.Write(std::string(row.name) + ".new.ndc", row.newText);
        CDownloadInfo info;
        nv::DownloadItemRefs list;
        std::string message = "untouched";
        EXPECT_EQ(row.result, info.Merge(list, oldPath.c_str(), newPath.c_str(), row.all, FALSE,
                                         row.downloaderOnly, &message));
        EXPECT_EQ("untouched", message);
        std::string listed, kept;
        for (CDownloadItem* item : list)
            listed += (listed.empty() ? "" : " ") + Outline(item);
        for (const auto& item : info.m_aNewItems)
            kept += (kept.empty() ? "" : " ") + item->m_strSection;
        EXPECT_EQ(row.listed, listed);
        EXPECT_EQ(row.kept, kept);
        for (const NdcKey& key : row.keys)
            EXPECT_EQ(key.value, ReadNdcKey(newPath, key.section, key.key))
                << key.section << "." << key.key;
        EXPECT_EQ(row.oldText, ReadWholeFile(oldPath)) << "only read";
        if (row.newText == "-") {
            EXPECT_FALSE(FileExists(newPath));
        } else if (row.result != 0) {
            EXPECT_EQ(row.newText, ReadWholeFile(newPath));
        }
    }
}
