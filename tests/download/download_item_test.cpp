// Download items read from and written to real NDC files; groups aggregate their members.
#include "harness/registry_sandbox.h"
#include "ndc_fixture.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

TEST(DownloadItem, NormalisesValuesAsTheyAreRead)
{
    RegistrySandbox registry;
    const char* const key = "Software\\NvItemTest";
    registry.SetString(HKEY_LOCAL_MACHINE, key, "Path", "D:\\Pkg");
    registry.SetString(HKEY_LOCAL_MACHINE, key, "Slashed", "D:\\Pkg\\");
    const struct {
        const char* name;
        std::string lines;
        const char* expected;  // size|update|redistribute|elster|name|info text|info file|url
    } rows[] = {
        {"plain size gets kB", "Size=512", "512 kB|0|0|0|Sec|||"},
        {"KB becomes kb", "Size=512 KB", "512 kb|0|0|0|Sec|||"},
        {"flags out of range read 0", "Update=2\nElster=5\nReDistribute=3", "|0|0|0|Sec|||"},
        {"redistribute 2 stays", "ReDistribute=2", "|0|2|0|Sec|||"},
        {"empty name gives the section", "Name=", "|0|0|0|Sec|||"},
        {"info with three fields", "Info=a;b;c", "|0|0|0|Sec|a|b|"},
        {"keys in any case", "uPdAtE=1\nsize=3", "3 kB|1|0|0|Sec|||"},
        {"url from a profile value", "FileURL=/r$Path;s.exe", "|0|0|0|Sec|||D:\\Pkg\\s.exe"},
        {"url, value ends with \\", "FileURL=-R$Slashed;s.exe", "|0|0|0|Sec|||D:\\Pkg\\s.exe"},
        {"url, missing value keeps the text", "FileURL=/r$No;s.exe", "|0|0|0|Sec|||/r$No;s.exe"},
    };
    const std::string values = "HKLM\\Software\\NvItemTest\\";
    TempFolder folder;
    for (const auto& row : rows) {
        const std::string path = folder.Write("values.ndc", "[Sec]\n" + WithKey(row.lines, values) + "\n");
        CDownloadItem item;
        ASSERT_EQ(0, item.Load(path.c_str(), "Sec")) << row.name;
        std::string seen = item.GetSize();
        for (int flag : {item.GetUpdate(), item.GetReDistribute(), item.GetElster()})
            seen += "|" + std::to_string(flag);
        seen += "|" + item.GetName() + "|" + item.GetInfoText() + "|" + item.GetInfoFile() + "|" +
                item.GetFileURL();
        EXPECT_EQ(WithKey(row.expected, values), seen) << row.name;
    }
}

TEST(DownloadItem, QuotaIsDicedWhenAskedOnlyForItemsWhoseConditionHolds)
{
    TempFolder folder;
    const std::string path = folder.Write("quota.ndc", "[Item]\nQuota=500\n[Failing]\nQuota=500\n"
                                                       "Installiert=/RHKLM\\NOPE\\X\n");
    CDownloadItem item;
    item.Load(path.c_str(), "Item");
    EXPECT_EQ(-1, item.GetQuotaDiced());
    const BOOL installable = item.IsInstallable();
    const int diced = item.GetQuotaDiced();
    EXPECT_EQ(diced <= 500, installable != FALSE);
    EXPECT_EQ(std::to_string(diced), ReadNdcKey(path, "Item", "QuotaDiced"));
    CDownloadItem failing;
    failing.Load(path.c_str(), "Failing");
    EXPECT_FALSE(failing.IsInstallable());
    EXPECT_EQ("<none>", ReadNdcKey(path, "Failing", "QuotaDiced")) << "never dices";
}

struct MemberValues {
    const char* size;
    int update, download, want, elster;
    BOOL installable;
};

static std::unique_ptr<CDownloadItem> Member(size_t index, const MemberValues& values)
{
    auto item = std::make_unique<CDownloadItem>();
    item->m_strSection = std::string(1, char('a' + index));
    item->m_strSize = values.size;
    item->m_nUpdate = values.update;
    item->m_nElster = values.elster;
    item->SetDownload(values.download);
    item->SetWantDownload(values.want);
    item->m_strInstalliert = values.installable ? "" : "/RHKLM\\NOPE\\X";
    return item;
}

TEST(DownloadItemGroup, AggregatesOverTheCountedMembers)
{
    const struct {
        const char* name;
        std::vector<MemberValues> members;  // size, update, download, want, elster, installable
        const char* expected;  // size|kB|update|download|want|elster|installable
    } rows[] = {
        {"no members", {}, "0 kB|0|1|1|0|0|1"},
        {"one to install", {{"100 kB", 1, 1, 0, 1, FALSE}, {"250 kB", 0, 0, 1, 0, TRUE}}, "250 kB|250|0|0|1|0|1"},
        {"all installed", {{"100 kB", 1, 1, 0, 0, FALSE}, {"250 kB", 1, 0, 0, 1, TRUE}}, "350 kB|350|1|0|0|1|0"},
        {"one not installable", {{"100 kB", 0, 1, 1, 1, FALSE}, {"250kb", 0, 1, 0, 0, TRUE}}, "350 kB|350|0|1|1|1|0"},
        {"want of an installed one", {{"1 kB", 1, 0, 1, 0, TRUE}, {"2 kB", 0, 1, 0, 0, TRUE}}, "2 kB|2|0|1|1|0|1"},
        {"sizes without a number before kb count 0",
         {{"  300 KB ", 0, 1, 1, 0, TRUE}, {"1,5 mb kB", 0, 1, 1, 0, TRUE}, {"512", 0, 1, 1, 0, TRUE},
          {"kb", 0, 1, 1, 0, TRUE}, {"", 0, 1, 1, 0, TRUE}}, "301 kB|301|0|1|1|0|1"},
    };
    for (const auto& row : rows) {
        auto group = std::make_unique<CDownloadItemGroup>();
        for (size_t i = 0; i < row.members.size(); ++i)
            group->AddMember(Member(i, row.members[i]));
        std::string seen = group->GetSize();
        for (int value : {group->GetSizeKB(), group->GetUpdate(), group->GetDownload(),
                          group->GetWantDownload(), group->GetElster(), int(group->IsInstallable())})
            seen += "|" + std::to_string(value);
        EXPECT_EQ(row.expected, seen) << row.name;
    }
}
