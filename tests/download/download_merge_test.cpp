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

// A condition that reads a key no test creates: the item is not installable.
const std::string kNeverInstallable = "Installiert=/EHKLM\\Software\\NvMergeTest\\Missing\n";

// Old and new file per row; the new file's other keys must stay and none of
// the old file's own keys may be carried.
TEST(DownloadMerge, DecidesAndWritesPerItemAsTheOutcomeTableSays)
{
    const struct {
        const char* name;
        const char* oldItem;  // body of [Item] in the old file, null: no section
        std::string newItem;
        const char* expected;  // kept, wanted, then Update|Download|QuotaDiced in the new file
    } rows[] = {
        {"new item, installable", nullptr, "DateVer=5\n", "kept wanted <none>|<none>|<none>"},
        {"new item keeps the fetched flags", nullptr, "DateVer=5\nUpdate=1\nDownload=1\n",
         "kept wanted 1|1|<none>"},
        {"new item, not installable", nullptr, "DateVer=5\n" + kNeverInstallable,
         "dropped - <none>|<none>|<none>"},
        {"newer, was installed and downloaded", "DateVer=5\nUpdate=1\nDownload=1\n", "DateVer=6\n",
         "kept wanted <none>|<none>|<none>"},
        {"same, not installed, downloaded", "DateVer=5\nDownload=1\n", "DateVer=5\n",
         "kept wanted <none>|1|<none>"},
        {"same, installed and downloaded", "DateVer=5\nUpdate=1\nDownload=1\n", "DateVer=5\n",
         "kept - 1|1|<none>"},
        {"same, installed, not downloaded", "DateVer=5\nUpdate=1\n", "DateVer=5\n", "kept - 1|<none>|<none>"},
        {"older in the new file, installed", "DateVer=7\nUpdate=1\n", "DateVer=5\n",
         "kept - 1|<none>|<none>"},
        {"diced number carried over", "DateVer=5\nQuota=500\nQuotaDiced=123\n", "DateVer=6\nQuota=500\n",
         "kept wanted <none>|<none>|123"},
        {"carried number decides the quota", "DateVer=5\nQuota=500\nQuotaDiced=700\n",
         "DateVer=6\nQuota=500\n", "dropped - <none>|<none>|700"},
        {"the new file's own number is replaced", "DateVer=5\nQuotaDiced=42\n",
         "DateVer=6\nQuotaDiced=41\n", "kept wanted <none>|<none>|42"},
    };
    TempFolder folder;
    for (const auto& row : rows) {
        std::string oldText = "[Header]\nDateVer=1\n[other]\nDateVer=1\n";
        if (row.oldItem)
            oldText += std::string("[Item]\nName=Old name\nTooltip=old\n") + row.oldItem;
        std::string oldPath = folder.Write(std::string(row.name) + ".old.ndc", oldText);
        std::string newPath = folder.Write(std::string(row.name) + ".new.ndc",
                                           "[Header]\nDateVer=1\n[Item]\nName=New name\n" + row.newItem);
        CDownloadInfo info;
        DownloadItemRefs wanted;
        std::string message = "untouched";
        EXPECT_EQ(0, info.Merge(wanted, oldPath.c_str(), newPath.c_str(), FALSE, TRUE, FALSE, &message))
            << row.name;
        EXPECT_EQ("untouched", message) << row.name;
        const std::string seen =
            std::string(info.m_mapNewItems.count("item") ? "kept " : "dropped ") +
            (wanted.size() == 1 && wanted[0]->m_strSection == "item" ? "wanted " : "- ") +
            ReadNdcKey(newPath, "Item", "Update") + "|" + ReadNdcKey(newPath, "Item", "Download") +
            "|" + ReadNdcKey(newPath, "Item", "QuotaDiced");
        EXPECT_EQ(row.expected, seen) << row.name;
        EXPECT_EQ("New name", ReadNdcKey(newPath, "Item", "Name")) << row.name;
        EXPECT_EQ("<none>", ReadNdcKey(newPath, "Item", "Tooltip")) << row.name << ": old key carried";
        EXPECT_EQ(oldText, ReadWholeFile(oldPath)) << row.name << ": old file changed";
    }
}

// Groups show their members' wants, "grp(01)"; "sec.key=value" names a key
// of the new file afterwards.
TEST(DownloadMerge, ListsGroupsDownloaderAndBadInput)
{
    const char* const groupOld = "[grp]\nDateVer=3\n[m1]\nDateVer=1\nMyGroup=grp\nUpdate=1\n"
                                 "[m2]\nDateVer=1\nMyGroup=grp\nUpdate=1\nDownload=1\n";
    const struct {
        const char* name;
        const char* oldText;  // null: no such file
        const char* newText;
        BOOL all, downloaderOnly;
        int result;
        const char* listed;
        const char* keys;
    } rows[] = {
        {"all flag: kept items in file order", "[a]\nDateVer=1\nUpdate=1\n[b]\nDateVer=1\n",
         "[Header]\nDateVer=1\n[Konfiguration]\nx=1\n[!hidden]\nDateVer=1\n[a]\nDateVer=1\n"
         "[c]\nDateVer=1\nInstalliert=/RHKLM\\NOPE\\X\n[b]\nDateVer=1\n",
         TRUE, FALSE, 0, "a b ", ""},
        {"one group member newer", groupOld,
         "[grp]\nDateVer=3\n[m1]\nDateVer=1\nMyGroup=grp\n[m2]\nDateVer=2\nMyGroup=grp\n", FALSE, FALSE,
         0, "grp(01) ", "m1.Update=<none>"},
        {"group installed already, kept", groupOld,
         "[grp]\nDateVer=3\n[m1]\nDateVer=1\nMyGroup=grp\n[m2]\nDateVer=1\nMyGroup=grp\n"
         "Installiert=/RHKLM\\NOPE\\X\n",
         TRUE, FALSE, 0, "grp(00) ", "m1.Update=1 m2.Update=1 grp.Update=1"},
        {"newer downloader alone", "[dnload]\nDateVer=4\nUpdate=1\n[tool]\nDateVer=1\n",
         "[dnload]\nDateVer=5\n[tool]\nDateVer=2\n", TRUE, TRUE, 0, "dnload ", ""},
        {"same downloader not listed", "[dnload]\nDateVer=4\nUpdate=1\n[tool]\nDateVer=1\n",
         "[dnload]\nDateVer=4\n[tool]\nDateVer=2\n", TRUE, FALSE, 0, "tool ",
         "dnload.Download=1 dnload.Update=1"},
        {"missing old file (first installation)", nullptr, "[item]\nDateVer=1\n", TRUE, FALSE, -3, "", ""},
        {"missing new file", "[item]\nDateVer=1\n", nullptr, TRUE, FALSE, -3, "", ""},
        {"empty new file", "[item]\nDateVer=1\n", "", TRUE, FALSE, -1, "", ""},
        {"new file without sections", "[item]\nDateVer=1\n", "DateVer=1\n", TRUE, FALSE, -1, "", ""},
        {"old file without sections", "", "[item]\nDateVer=1\n", TRUE, FALSE, -1, "", ""},
        {"member of a missing group", "[item]\nDateVer=1\n", "[item]\nDateVer=1\nMyGroup=nix\n", TRUE,
         FALSE, -5, "", ""},
        {"only headers", "[Header]\nDateVer=1\n", "[Header]\nDateVer=1\n", TRUE, FALSE, 0, "", ""},
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
        EXPECT_EQ(row.listed, listed) << row.name;
        std::istringstream checks(row.keys);
        for (std::string check; checks >> check;) {
            const size_t dot = check.find('.'), equals = check.find('=');
            EXPECT_EQ(check.substr(equals + 1),
                      ReadNdcKey(newPath, check.substr(0, dot).c_str(),
                                 check.substr(dot + 1, equals - dot - 1).c_str()))
                << row.name << ": " << check;
        }
        EXPECT_EQ(row.oldText != nullptr, FileExists(oldPath)) << row.name;
        if (row.oldText) {
            EXPECT_EQ(row.oldText, ReadWholeFile(oldPath)) << row.name;
        }
        if (row.result != 0) {
            EXPECT_EQ(row.newText ? row.newText : "<missing>",
                      row.newText ? ReadWholeFile(newPath) : FileExists(newPath) ? "<there>" : "<missing>")
                << row.name;
        }
    }
}

TEST(MergeMessages, NameTheOldFileTheStepAndTheError)
{
    std::string com = nv::ComMergeMessage("C:\\alt.ndc", 4, nv::ComError(HRESULT(0xA0057777)));
    EXPECT_EQ("Es trat ein COM-Fehler beim Mergen der NDC 'C:\\alt.ndc' auf.\nFehler: 4\n"
              "Unknown error 0xA0057777",
              com);
    std::string longText(300, 'x');
    std::string framework = nv::FrameworkMergeMessage("a.ndc", 1, std::runtime_error(longText));
    EXPECT_EQ("Es trat ein MFC-Fehler beim Mergen der NDC 'a.ndc' auf.\nFehler: 1\n" +
                  std::string(254, 'x'),
              framework);
    EXPECT_EQ("Es trat ein unbekannter-Fehler beim Mergen der NDC 'a.ndc' auf.\nFehler: 0\n",
              nv::UnknownMergeMessage("a.ndc", 0));
}

} // namespace
