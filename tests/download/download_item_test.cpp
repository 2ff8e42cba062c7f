// Download items read from and written to real NDC files; groups aggregate their members.
#include "download/profile_redirect.h"
#include "harness/registry_sandbox.h"
#include "ndc_fixture.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

TEST(DownloadItem, NormalisesValuesAsTheyAreRead)
{
    const struct {
        const char *name, *lines, *size;
        int update, elster;
        const char *itemName, *infoText, *infoFile;
    } rows[] = {
        {"KB becomes kb", "Size=512 KB", "512 kb", 0, 0, "Sec", "", ""},
        {"flags out of range read 0", "Update=2\nElster=5", "", 0, 0, "Sec", "", ""},
        {"flag and name", "Elster=1\nName=N", "", 0, 1, "N", "", ""},
        {"empty name gives the section", "Name=", "", 0, 0, "Sec", "", ""},
        {"info with three fields", "Info=a;b;c", "", 0, 0, "Sec", "a", "b"},
        {"keys in any case", "uPdAtE=1\nsize=3", "3 kB", 1, 0, "Sec", "", ""},
    };
    TempFolder folder;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string path =
            folder.Write("values.ndc", "[Sec]\n" + std::string(row.lines) + "\n");
        CDownloadItem item;
        ASSERT_EQ(0, item.Load(path.c_str(), "Sec"));
        EXPECT_EQ(row.size, item.GetSize());
        EXPECT_EQ(row.update, item.GetUpdate());
        EXPECT_EQ(row.elster, item.GetElster());
        EXPECT_EQ(row.itemName, item.GetName());
        EXPECT_EQ(row.infoText, item.GetInfoText());
        EXPECT_EQ(row.infoFile, item.GetInfoFile());
    }
}

// "$" stands for the registry path of the test's own key.
TEST(ProfileRedirect, FileAndLocalUrlsReadTheSettingTheyName)
{
    RegistrySandbox registry;
    registry.Set(HKEY_LOCAL_MACHINE, "Software\\NvItemTest", "Path", "D:\\Pkg");
    registry.Set(HKEY_LOCAL_MACHINE, "Software\\NvItemTest", "Slashed", "D:\\Pkg\\");
    const struct {
        const char *name, *raw, *fileUrl, *localUrl;
    } rows[] = {
        {"value and suffix", "/r$Path;s.exe", R"(D:\Pkg\s.exe)", R"(D:\Pkg\s.exe)"},
        {"value ends with a backslash", "/R$Slashed;sub", R"(D:\Pkg\sub)", R"(D:\Pkg\sub)"},
        {"no suffix", "/r$Path", R"(D:\Pkg\)", R"(D:\Pkg)"},
        {"missing value", "/r$No;s.exe", "/r$No;s.exe", "$No;s.exe"},
        {"-r only for files", "-r$Path;s.exe", R"(D:\Pkg\s.exe)", "-r$Path;s.exe"},
    };
    const std::string key = R"(HKLM\Software\NvItemTest\)";
    for (const auto& row : rows) {
        EXPECT_EQ(WithKey(row.fileUrl, key), nv::ResolveFileUrl(WithKey(row.raw, key))) << row.name;
        EXPECT_EQ(WithKey(row.localUrl, key), nv::ResolveLocalUrl(WithKey(row.raw, key)))
            << row.name;
    }
}

struct MemberValues {
    const char* size;
    int update, download, want, elster;
    BOOL installable;
};
using Members = std::vector<MemberValues>;

// Members a, b, c ... in order.
static std::unique_ptr<CDownloadItemGroup> Group(const std::vector<MemberValues>& members)
{
    auto group = std::make_unique<CDownloadItemGroup>();
    for (const MemberValues& values : members) {
        auto item = std::make_unique<CDownloadItem>();
        item->m_strSection = std::string(1, char('a' + group->Members().size()));
        item->m_strSize = values.size;
        item->m_nUpdate = values.update;
        item->m_nElster = values.elster;
        item->SetDownload(values.download);
        item->SetWantDownload(values.want);
        item->m_strInstalliert = values.installable ? "" : R"(/RHKLM\NOPE\X)";
        group->AddMember(std::move(item));
    }
    return group;
}

TEST(DownloadItemGroup, AggregatesOverTheCountedMembers)
{
    const struct {
        const char* name;
        Members members; // size, update, download, want, elster, installable
        const char* size;
        int update, download, want, elster;
        BOOL installable;
    } rows[] = {
        {"no members", Members{}, "0 kB", 1, 1, 0, 0, TRUE},
        {"one to install", Members{{"100 kB", 1, 1, 0, 1, FALSE}, {"250 kB", 0, 0, 1, 0, TRUE}},
         "250 kB", 0, 0, 1, 0, TRUE},
        {"all installed", Members{{"100 kB", 1, 1, 0, 0, FALSE}, {"250 kB", 1, 0, 0, 1, TRUE}},
         "350 kB", 1, 0, 0, 1, FALSE},
        {"one not installable", Members{{"100 kB", 0, 1, 1, 1, FALSE}, {"250kb", 0, 1, 0, 0, TRUE}},
         "350 kB", 0, 1, 1, 1, FALSE},
        {"want of an installed one",
         Members{{"1 kB", 1, 0, 1, 0, TRUE}, {"2 kB", 0, 1, 0, 0, TRUE}}, "2 kB", 0, 1, 1, 0, TRUE},
        {"sizes without a number before kb count 0",
         Members{{"  300 KB ", 0, 1, 1, 0, TRUE},
                 {"1,5 mb kB", 0, 1, 1, 0, TRUE},
                 {"512", 0, 1, 1, 0, TRUE}},
         "301 kB", 0, 1, 1, 0, TRUE},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        auto group = Group(row.members);
        EXPECT_EQ(row.size, group->GetSize());
        EXPECT_EQ(row.update, group->GetUpdate());
        EXPECT_EQ(row.download, group->GetDownload());
        EXPECT_EQ(row.want, group->GetWantDownload());
        EXPECT_EQ(row.elster, group->GetElster());
        EXPECT_EQ(row.installable, group->IsInstallable());
    }
}

// The want flag reaches only the members still to install; "Update" reaches all of them.
TEST(DownloadItemGroup, SettingAFlagReachesTheMembers)
{
    auto group = Group({{"1 kB", 1, 0, 0, 0, TRUE}, {"1 kB", 0, 0, 0, 0, TRUE}});
    const auto& members = group->Members();
    group->SetWantDownload(1);
    EXPECT_EQ(0, members[0]->GetWantDownload()) << "installed";
    EXPECT_EQ(1, members[1]->GetWantDownload());
    group->SetUpdate(1);
    EXPECT_EQ(1, members[1]->GetUpdate());
    group->SetWantDownload(1);
    EXPECT_EQ(1, members[0]->GetWantDownload()) << "all installed: all counted";
}
