// The merge of an old and a new NDC file: what stays in the new list, what is
// offered, and exactly which keys reach the new file.
#include "download/download_info.h"
#include "download/download_item_group.h"
#include "download/merge_messages.h"
#include "ndc_fixture.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

namespace {

#define NEVER "Installiert=/RHKLM\\NOPE\\X\n"
#define GROUP_OLD "[grp]\nDateVer=3\n[m1]\nDateVer=1\nMyGroup=grp\nUpdate=1\n[m2]\nDateVer=1\nMyGroup=grp\nUpdate=1\nDownload=1\n"

// One row per situation. "listed" is what the caller gets ("grp(01)": a group
// with its members' wants), then "/" and what the new list keeps; "keys" are
// "section.key=value" of the new file afterwards. The old file is only read.
TEST(DownloadMerge, OutcomesPerSituation)
{
    const struct {
        const char* name;
        const char* oldText;  // null: no such file
        const char* newText;
        BOOL all, downloaderOnly;
        int result;
        const char* listed;
        const char* keys;
    } rows[] = {
        {"new item, installable", "[o]\n", "[i]\nDateVer=5\n", FALSE, FALSE, 0, "i / i ", "i.Update=<none>"},
        {"new item keeps the fetched flags", "[o]\n", "[i]\nDateVer=5\nUpdate=1\nDownload=1\n", FALSE,
         FALSE, 0, "i / i ", "i.Update=1 i.Download=1"},
        {"new item, not installable", "[o]\n", "[i]\nDateVer=5\n" NEVER "[j]\n", FALSE, FALSE, 0, "j / j ",
         "i.Update=<none> i.QuotaDiced=<none>"},
        {"newer, was installed and downloaded; only old flags carried",
         "[i]\nDateVer=5\nUpdate=1\nDownload=1\nTooltip=old\n", "[i]\nDateVer=6\nName=New\n", FALSE, FALSE,
         0, "i / i ", "i.Update=<none> i.Download=<none> i.Tooltip=<none> i.Name=New"},
        {"same, not installed, downloaded", "[i]\nDateVer=5\nDownload=1\n", "[i]\nDateVer=5\n", FALSE,
         FALSE, 0, "i / i ", "i.Update=<none> i.Download=1"},
        {"same, installed and downloaded", "[i]\nDateVer=5\nUpdate=1\nDownload=1\n", "[i]\nDateVer=5\n",
         FALSE, FALSE, 0, "/ i ", "i.Update=1 i.Download=1"},
        {"same, installed, not downloaded", "[i]\nDateVer=5\nUpdate=1\n", "[i]\nDateVer=5\n", FALSE, FALSE,
         0, "/ i ", "i.Update=1 i.Download=<none>"},
        {"older in the new file, installed", "[i]\nDateVer=7\nUpdate=1\n", "[i]\nDateVer=5\n", FALSE,
         FALSE, 0, "/ i ", "i.Update=1"},
        {"diced number carried over", "[i]\nDateVer=5\nQuota=500\nQuotaDiced=123\n",
         "[i]\nDateVer=6\nQuota=500\n", FALSE, FALSE, 0, "i / i ", "i.QuotaDiced=123 i.Update=<none>"},
        {"carried number decides the quota", "[i]\nDateVer=5\nQuota=500\nQuotaDiced=700\n",
         "[i]\nDateVer=6\nQuota=500\n[j]\n", FALSE, FALSE, 0, "j / j ", "i.QuotaDiced=700"},
        {"the new file's own number is replaced", "[i]\nDateVer=5\nQuotaDiced=42\n",
         "[i]\nDateVer=6\nQuotaDiced=41\n", FALSE, FALSE, 0, "i / i ", "i.QuotaDiced=42"},
        {"all flag: kept items in file order", "[a]\nDateVer=1\nUpdate=1\n[b]\nDateVer=1\n",
         "[Header]\nDateVer=1\n[Konfiguration]\nx=1\n[!hidden]\nDateVer=1\n[a]\nDateVer=1\n"
         "[c]\nDateVer=1\n" NEVER "[b]\nDateVer=1\n",
         TRUE, FALSE, 0, "a b / ", ""},
        {"one group member newer", GROUP_OLD,
         "[grp]\nDateVer=3\n[m1]\nDateVer=1\nMyGroup=grp\n[m2]\nDateVer=2\nMyGroup=grp\n", FALSE, FALSE,
         0, "grp(01) / grp ", "m1.Update=<none>"},
        {"group installed already, kept", GROUP_OLD,
         "[grp]\nDateVer=3\n[m1]\nDateVer=1\nMyGroup=grp\n[m2]\nDateVer=1\nMyGroup=grp\n" NEVER, FALSE,
         FALSE, 0, "/ grp ", "m1.Update=1 m2.Update=1 grp.Update=1"},
        {"newer downloader alone", "[dnload]\nDateVer=4\nUpdate=1\n[tool]\nDateVer=1\n",
         "[dnload]\nDateVer=5\n[tool]\nDateVer=2\n", TRUE, TRUE, 0, "dnload / ", ""},
        {"same downloader not listed", "[dnload]\nDateVer=4\nUpdate=1\n[tool]\nDateVer=1\n",
         "[dnload]\nDateVer=4\n[tool]\nDateVer=2\n", TRUE, FALSE, 0, "tool / ",
         "dnload.Download=1 dnload.Update=1"},
        {"missing old file (first installation)", nullptr, "[i]\nDateVer=1\n", TRUE, FALSE, -3, "/ ", ""},
        {"missing new file", "[i]\nDateVer=1\n", nullptr, TRUE, FALSE, -3, "/ ", ""},
        {"old file without sections", "", "[i]\nDateVer=1\n", TRUE, FALSE, -1, "/ ", ""},
        {"only headers", "[Header]\nDateVer=1\n", "[Header]\nDateVer=1\n", TRUE, FALSE, 0, "/ ", ""},
    };
    TempFolder folder;
    for (const auto& row : rows) {
        const std::string oldPath = folder.File(std::string(row.name) + ".old.ndc");
        const std::string newPath = folder.File(std::string(row.name) + ".new.ndc");
        if (row.oldText)
            folder.Write(std::string(row.name) + ".old.ndc", row.oldText);
        if (row.newText)
            folder.Write(std::string(row.name) + ".new.ndc", row.newText);
        CDownloadInfo info;
        DownloadItemRefs list;
        std::string message = "untouched";
        EXPECT_EQ(row.result, info.Merge(list, oldPath.c_str(), newPath.c_str(), row.all, FALSE,
                                         row.downloaderOnly, &message))
            << row.name;
        EXPECT_EQ("untouched", message) << row.name;
        std::string listed;
        for (CDownloadItem* item : list) {
            listed += item->m_strSection;
            if (auto* group = dynamic_cast<CDownloadItemGroup*>(item)) {
                listed += "(";
                for (const auto& member : group->Members())
                    listed += std::to_string(member->GetWantDownload());
                listed += ")";
            }
            listed += " ";
        }
        listed += "/ ";
        if (!row.all) {
            for (const auto& item : info.m_aNewItems)
                listed += item->m_strSection + " ";
        }
        EXPECT_EQ(row.listed, listed) << row.name;
        std::istringstream checks(row.keys);
        for (std::string check; checks >> check;) {
            const size_t dot = check.find('.'), equals = check.find('=');
            EXPECT_EQ(check.substr(equals + 1),
                      ReadNdcKey(newPath, check.substr(0, dot).c_str(),
                                 check.substr(dot + 1, equals - dot - 1).c_str()))
                << row.name << ": " << check;
        }
        EXPECT_EQ(row.oldText ? row.oldText : "<missing>",
                  FileExists(oldPath) ? ReadWholeFile(oldPath) : "<missing>") << row.name;
        if (row.result != 0) {
            EXPECT_EQ(row.newText ? row.newText : "<missing>",
                      FileExists(newPath) ? ReadWholeFile(newPath) : "<missing>") << row.name;
        }
    }
}

TEST(MergeMessages, NameTheOldFileTheStepAndTheError)
{
    EXPECT_EQ("Es trat ein COM-Fehler beim Mergen der NDC 'C:\\alt.ndc' auf.\nFehler: 4\n"
              "Unknown error 0xA0057777",
              nv::ComMergeMessage("C:\\alt.ndc", 4, nv::ComError(HRESULT(0xA0057777))));
    EXPECT_EQ("Es trat ein MFC-Fehler beim Mergen der NDC 'a.ndc' auf.\nFehler: 1\n" +
                  std::string(254, 'x'),
              nv::FrameworkMergeMessage("a.ndc", 1, std::runtime_error(std::string(300, 'x'))));
    EXPECT_EQ("Es trat ein unbekannter-Fehler beim Mergen der NDC 'a.ndc' auf.\nFehler: 0\n",
              nv::UnknownMergeMessage("a.ndc", 0));
}

} // namespace
