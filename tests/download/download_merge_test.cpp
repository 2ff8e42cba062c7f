// The merge of an old and a new NDC file: what stays in the new list, what is
// offered, and exactly which keys reach the new file.
#include "download/download_info.h"
#include "download/download_item_group.h"
#include "download/merge_messages.h"
#include "harness/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

namespace {

// A condition that reads a key no test creates: the item is not installable.
const char* const kNeverInstallable = "Installiert=/EHKLM\\Software\\NvMergeTest\\Missing\n";

std::string ReadKey(const std::string& path, const std::string& section, const std::string& key)
{
    char value[64] = {0};
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "<none>", value, sizeof(value),
                             path.c_str());
    return value;
}

std::vector<std::string> SectionsOf(const DownloadItemRefs& items)
{
    std::vector<std::string> sections;
    for (CDownloadItem* item : items)
        sections.push_back(item->m_strSection);
    return sections;
}

struct ItemCase {
    const char* name;
    const char* oldItem;  // body of section [item] in the old file, null: no section
    const char* newItem;  // body of section [item] in the new file
    bool kept;
    bool wanted;
    const char* update;  // the new file's keys afterwards ("<none>": absent)
    const char* download;
    const char* quotaDiced;
};

const ItemCase kItemCases[] = {
    {"new item, installable", nullptr, "DateVer=5\n", true, true, "<none>", "<none>", "<none>"},
    {"new item keeps the fetched flags", nullptr, "DateVer=5\nUpdate=1\nDownload=1\n", true, true,
     "1", "1", "<none>"},
    {"new item, not installable", nullptr, "DateVer=5\n", false, false, "<none>", "<none>",
     "<none>"},
    {"newer, was installed and downloaded", "DateVer=5\nUpdate=1\nDownload=1\n", "DateVer=6\n",
     true, true, "<none>", "<none>", "<none>"},
    {"same, not installed, downloaded", "DateVer=5\nDownload=1\n", "DateVer=5\n", true, true,
     "<none>", "1", "<none>"},
    {"same, installed and downloaded", "DateVer=5\nUpdate=1\nDownload=1\n", "DateVer=5\n", true,
     false, "1", "1", "<none>"},
    {"same, installed, not downloaded", "DateVer=5\nUpdate=1\n", "DateVer=5\n", true, false, "1",
     "<none>", "<none>"},
    {"older in the new file, installed", "DateVer=7\nUpdate=1\n", "DateVer=5\n", true, false, "1",
     "<none>", "<none>"},
    {"diced number carried over", "DateVer=5\nQuota=500\nQuotaDiced=123\n",
     "DateVer=6\nQuota=500\n", true, true, "<none>", "<none>", "123"},
    {"carried number decides the quota", "DateVer=5\nQuota=500\nQuotaDiced=700\n",
     "DateVer=6\nQuota=500\n", false, false, "<none>", "<none>", "700"},
    {"the new file's own number is replaced", "DateVer=5\nQuotaDiced=42\n",
     "DateVer=6\nQuotaDiced=41\n", true, true, "<none>", "<none>", "42"},
};

TEST(DownloadMerge, DecidesAndWritesPerItemAsTheOutcomeTableSays)
{
    TempFolder folder;
    for (const ItemCase& row : kItemCases) {
        std::string name = row.name;
        bool installable = name.find("not installable") == std::string::npos;
        std::string oldText = "[Header]\nDateVer=1\n[other]\nDateVer=1\n";
        if (row.oldItem)
            oldText += std::string("[Item]\nName=Old name\nTooltip=old\n") + row.oldItem;
        std::string newText = std::string("[Header]\nDateVer=1\n[Item]\nName=New name\n") +
                              row.newItem + (installable ? "" : kNeverInstallable);
        std::string oldPath = folder.Write(name + ".old.ndc", oldText);
        std::string newPath = folder.Write(name + ".new.ndc", newText);

        CDownloadInfo info;
        DownloadItemRefs wanted;
        std::string message = "untouched";
        EXPECT_EQ(0, info.Merge(wanted, oldPath.c_str(), newPath.c_str(), FALSE, TRUE, FALSE,
                                &message))
            << name;
        EXPECT_EQ("untouched", message) << name;
        EXPECT_EQ(row.kept, info.m_mapNewItems.count("item") == 1) << name;
        EXPECT_EQ(row.wanted, SectionsOf(wanted) == std::vector<std::string>{"item"}) << name;
        EXPECT_EQ(row.update, ReadKey(newPath, "Item", "Update")) << name;
        EXPECT_EQ(row.download, ReadKey(newPath, "Item", "Download")) << name;
        EXPECT_EQ(row.quotaDiced, ReadKey(newPath, "Item", "QuotaDiced")) << name;
        EXPECT_EQ("New name", ReadKey(newPath, "Item", "Name")) << name;
        EXPECT_EQ("<none>", ReadKey(newPath, "Item", "Tooltip")) << name << ": old key carried";
        EXPECT_EQ(oldText, ReadWholeFile(oldPath)) << name << ": old file changed";
    }
}

TEST(DownloadMerge, AllFlagListsEveryKeptItemInFileOrder)
{
    TempFolder folder;
    std::string oldPath = folder.Write("old.ndc", "[a]\nDateVer=1\nUpdate=1\n[b]\nDateVer=1\n");
    std::string newPath =
        folder.Write("new.ndc", std::string("[Header]\nDateVer=1\n[Konfiguration]\nx=1\n") +
                                    "[!hidden]\nDateVer=1\n[a]\nDateVer=1\n[c]\nDateVer=1\n" +
                                    kNeverInstallable + "[b]\nDateVer=1\n");
    CDownloadInfo info;
    DownloadItemRefs all;
    EXPECT_EQ(0, info.Merge(all, oldPath.c_str(), newPath.c_str(), TRUE, FALSE, FALSE, nullptr));
    EXPECT_EQ((std::vector<std::string>{"a", "b"}), SectionsOf(all));
}

TEST(DownloadMerge, GroupsAreMarkedMemberByMemberAndNeverDropped)
{
    TempFolder folder;
    const std::string group = "[grp]\nDateVer=3\n";
    std::string oldPath = folder.Write(
        "old.ndc", group + "[m1]\nDateVer=1\nMyGroup=grp\nUpdate=1\n[m2]\nDateVer=1\nMyGroup=grp\n"
                           "Update=1\nDownload=1\n");

    // One member newer: the group is offered, only that member wants it.
    std::string newPath = folder.Write(
        "new.ndc", group + "[m1]\nDateVer=1\nMyGroup=grp\n[m2]\nDateVer=2\nMyGroup=grp\n");
    {
        CDownloadInfo info;
        DownloadItemRefs wanted;
        EXPECT_EQ(0, info.Merge(wanted, oldPath.c_str(), newPath.c_str(), FALSE, FALSE, FALSE,
                                nullptr));
        ASSERT_EQ((std::vector<std::string>{"grp"}), SectionsOf(wanted));
        auto* merged = dynamic_cast<CDownloadItemGroup*>(wanted[0]);
        ASSERT_NE(nullptr, merged);
        ASSERT_EQ(2u, merged->Members().size());
        EXPECT_EQ(0, merged->Members()[0]->GetWantDownload());
        EXPECT_EQ(1, merged->Members()[1]->GetWantDownload());
        EXPECT_EQ("<none>", ReadKey(newPath, "m1", "Update")) << "group not installed as a whole";
    }

    // All members installed already: nothing offered, "Update" into every
    // member's section and the group's own.
    newPath = folder.Write(
        "same.ndc", group + "[m1]\nDateVer=1\nMyGroup=grp\n[m2]\nDateVer=1\nMyGroup=grp\n" +
                        kNeverInstallable);
    CDownloadInfo info;
    DownloadItemRefs wanted;
    EXPECT_EQ(0, info.Merge(wanted, oldPath.c_str(), newPath.c_str(), FALSE, FALSE, FALSE,
                            nullptr));
    EXPECT_TRUE(wanted.empty());
    EXPECT_EQ(1u, info.m_mapNewItems.count("grp")) << "a group in both files is kept";
    for (const char* section : {"m1", "m2", "grp"})
        EXPECT_EQ("1", ReadKey(newPath, section, "Update")) << section;
}

TEST(DownloadMerge, DownloaderItem)
{
    TempFolder folder;
    std::string oldPath =
        folder.Write("old.ndc", "[dnload]\nDateVer=4\nUpdate=1\n[tool]\nDateVer=1\n");

    // Newer downloader with the downloader-only flag: the list is that item.
    std::string newPath = folder.Write("newer.ndc", "[dnload]\nDateVer=5\n[tool]\nDateVer=2\n");
    {
        CDownloadInfo info;
        DownloadItemRefs list;
        EXPECT_EQ(0, info.Merge(list, oldPath.c_str(), newPath.c_str(), TRUE, FALSE, TRUE,
                                nullptr));
        EXPECT_EQ((std::vector<std::string>{"dnload"}), SectionsOf(list));
    }

    // Same downloader, flag clear: not listed, both flags written.
    newPath = folder.Write("same.ndc", "[dnload]\nDateVer=4\n[tool]\nDateVer=2\n");
    CDownloadInfo info;
    DownloadItemRefs list;
    EXPECT_EQ(0, info.Merge(list, oldPath.c_str(), newPath.c_str(), TRUE, FALSE, FALSE, nullptr));
    EXPECT_EQ((std::vector<std::string>{"tool"}), SectionsOf(list));
    EXPECT_EQ("1", ReadKey(newPath, "dnload", "Download"));
    EXPECT_EQ("1", ReadKey(newPath, "dnload", "Update"));
}

TEST(DownloadMerge, BadInputGivesTheCodesAndLeavesFilesAlone)
{
    TempFolder folder;
    struct Row {
        const char* name;
        const char* oldText;  // null: no such file
        const char* newText;
        int expected;
    } rows[] = {
        {"missing old file (first installation)", nullptr, "[item]\nDateVer=1\n", -3},
        {"missing new file", "[item]\nDateVer=1\n", nullptr, -3},
        {"empty new file", "[item]\nDateVer=1\n", "", -1},
        {"new file without sections", "[item]\nDateVer=1\n", "DateVer=1\n", -1},
        {"old file without sections", "", "[item]\nDateVer=1\n", -1},
        {"member of a missing group", "[item]\nDateVer=1\n", "[item]\nDateVer=1\nMyGroup=nix\n",
         -5},
        {"only headers", "[Header]\nDateVer=1\n", "[Header]\nDateVer=1\n", 0},
    };
    for (const Row& row : rows) {
        std::string oldPath = folder.File(std::string(row.name) + ".old.ndc");
        std::string newPath = folder.File(std::string(row.name) + ".new.ndc");
        if (row.oldText)
            folder.Write(std::string(row.name) + ".old.ndc", row.oldText);
        if (row.newText)
            folder.Write(std::string(row.name) + ".new.ndc", row.newText);
        CDownloadInfo info;
        DownloadItemRefs list;
        std::string message;
        EXPECT_EQ(row.expected, info.Merge(list, oldPath.c_str(), newPath.c_str(), TRUE, FALSE,
                                           FALSE, &message))
            << row.name;
        EXPECT_EQ("", message) << row.name;
        EXPECT_TRUE(list.empty()) << row.name;
        EXPECT_EQ(row.oldText != nullptr, FileExists(oldPath)) << row.name;
        EXPECT_EQ(row.newText != nullptr, FileExists(newPath)) << row.name;
        if (row.oldText) {
            EXPECT_EQ(row.oldText, ReadWholeFile(oldPath)) << row.name;
        }
        if (row.newText) {
            EXPECT_EQ(row.newText, ReadWholeFile(newPath)) << row.name;
        }
    }
    CDownloadInfo info;
    EXPECT_EQ(-1, info.LoadBoth(nullptr, "x"));
    EXPECT_EQ(-1, info.LoadBoth("x", nullptr));
}

// The new file is replaced as a whole: when it cannot be replaced it keeps
// its text, and when it can, every key of the merge is in it.
TEST(DownloadMerge, NewFileIsWrittenWholeOrNotAtAll)
{
    TempFolder folder;
    std::string oldText;
    std::string newText;
    for (int i = 0; i < 200; ++i) {
        oldText += "[item" + std::to_string(i) + "]\nDateVer=1\nUpdate=1\nDownload=1\n";
        newText += "[item" + std::to_string(i) + "]\nDateVer=1\n";
    }
    std::string oldPath = folder.Write("old.ndc", oldText);
    std::string newPath = folder.Write("new.ndc", newText);
    HANDLE lock = CreateFileA(newPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    {
        CDownloadInfo info;
        DownloadItemRefs list;
        EXPECT_EQ(0, info.Merge(list, oldPath.c_str(), newPath.c_str(), TRUE, FALSE, FALSE,
                                nullptr));
    }
    CloseHandle(lock);
    EXPECT_EQ(newText, ReadWholeFile(newPath));

    CDownloadInfo info;
    DownloadItemRefs list;
    EXPECT_EQ(0, info.Merge(list, oldPath.c_str(), newPath.c_str(), TRUE, FALSE, FALSE, nullptr));
    for (int i = 0; i < 200; i += 199) {
        EXPECT_EQ("1", ReadKey(newPath, "item" + std::to_string(i), "Update")) << i;
        EXPECT_EQ("1", ReadKey(newPath, "item" + std::to_string(i), "Download")) << i;
    }
    EXPECT_EQ(oldText, ReadWholeFile(oldPath));
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
