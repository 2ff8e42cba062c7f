// Download items read from and written to real NDC files.
#include "download/download_item.h"

#include "harness/registry_sandbox.h"
#include "ndc_fixture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(DownloadItem, NormalisesValuesAsTheyAreRead)
{
    RegistrySandbox registry;
    registry.CreateKey(HKEY_LOCAL_MACHINE, "Software\\NvinfoItemTest");
    registry.SetString(HKEY_LOCAL_MACHINE, "Software\\NvinfoItemTest", "Path", "D:\\Pkg");
    registry.SetString(HKEY_LOCAL_MACHINE, "Software\\NvinfoItemTest", "Slashed", "D:\\Pkg\\");
    const struct {
        const char* name;
        std::string lines;
        const char* expected;  // size|update|redistribute|elster|push|name|info text|info file|url
    } rows[] = {
        {"plain size gets kB", "Size=512", "512 kB|0|0|0|0|Sec|||"},
        {"KB becomes kb", "Size=512 KB", "512 kb|0|0|0|0|Sec|||"},
        {"flags out of range read 0", "Update=2\nElster=5\nReDistribute=3\nPush=2", "|0|0|0|0|Sec|||"},
        {"redistribute 2 stays, push 1", "ReDistribute=2\nPush=1", "|0|2|0|1|Sec|||"},
        {"empty name gives the section", "Name=", "|0|0|0|0|Sec|||"},
        {"quoted name", "Name=\" Q \"", "|0|0|0|0| Q |||"},
        {"info with three fields", "Info=a;b;c", "|0|0|0|0|Sec|a|b|"},
        {"keys in any case", "uPdAtE=1\nsize=3", "3 kB|1|0|0|0|Sec|||"},
        {"url from a profile value", "FileURL=/rHKLM\\Software\\NvinfoItemTest\\Path;setup.exe",
         "|0|0|0|0|Sec|||D:\\Pkg\\setup.exe"},
        {"url, value ends with backslash", "FileURL=-RHKLM\\Software\\NvinfoItemTest\\Slashed;setup.exe",
         "|0|0|0|0|Sec|||D:\\Pkg\\setup.exe"},
        {"url without suffix", "FileURL=/rHKLM\\Software\\NvinfoItemTest\\Path",
         "|0|0|0|0|Sec|||D:\\Pkg\\"},
        {"url, missing value keeps the text", "FileURL=/rHKLM\\Software\\NvinfoItemTest\\No;s.exe",
         "|0|0|0|0|Sec|||/rHKLM\\Software\\NvinfoItemTest\\No;s.exe"},
    };
    TempFolder folder;
    for (const auto& row : rows) {
        const std::string path = folder.Write("values.ndc", "[Sec]\n" + row.lines + "\n");
        const std::string headerPath = folder.Write("header.ndc", "[Header]\n" + row.lines + "\n");
        CDownloadItem item;
        CDownloadItem header;
        ASSERT_EQ(0, item.Load(path.c_str(), "Sec")) << row.name;
        header.Load(headerPath.c_str(), "Header");
        const std::string seen = item.GetSize() + "|" + std::to_string(item.GetUpdate()) + "|" +
                                 std::to_string(item.GetReDistribute()) + "|" +
                                 std::to_string(item.GetElster()) + "|" +
                                 std::to_string(header.GetPush()) + "|" + item.GetName() + "|" +
                                 item.GetInfoText() + "|" + item.GetInfoFile() + "|" + item.GetFileURL();
        EXPECT_EQ(row.expected, seen) << row.name;
    }
}

TEST(DownloadItem, SizeInKilobytes)
{
    const struct {
        const char* size;
        int kb;
        const char* normalised;
    } rows[] = {
        {"512 kB", 512, "512 kb"}, {"512kb", 512, "512kb"}, {"  300 KB ", 300, "300 kb"},
        {"1,5 mb kB", 1, "1,5 mb kb"}, {"kb", 0, "kb"}, {"512", 0, "512"}, {"", 0, ""},
    };
    for (const auto& row : rows) {
        CDownloadItem item;
        item.m_strSize = row.size;
        EXPECT_EQ(row.kb, item.GetSizeKB()) << row.size;
        EXPECT_EQ(row.normalised, item.m_strSize) << row.size;
    }
}

TEST(DownloadItem, QuotaIsDicedOnceAndWrittenIntoTheSection)
{
    TempFolder folder;
    const std::string path = folder.Write("quota.ndc", "[Item]\nQuota=500\n[Failing]\nQuota=500\n"
                                                       "Installiert=/RHKLM\\NOPE\\X\n");
    CDownloadItem item;
    item.Load(path.c_str(), "Item");
    EXPECT_EQ(-1, item.GetQuotaDiced());
    const BOOL installable = item.IsInstallable();
    const int diced = item.GetQuotaDiced();
    EXPECT_TRUE(diced >= 0 && diced <= 999) << diced;
    EXPECT_EQ(diced <= 500, installable != FALSE);
    EXPECT_EQ(std::to_string(diced), ReadNdcKey(path, "Item", "QuotaDiced"));

    CDownloadItem again;
    again.Load(path.c_str(), "Item");
    again.IsInstallable();
    EXPECT_EQ(diced, again.GetQuotaDiced()) << "the next load uses the written number";

    CDownloadItem failing;
    failing.Load(path.c_str(), "Failing");
    EXPECT_FALSE(failing.IsInstallable());
    EXPECT_EQ("<none>", ReadNdcKey(path, "Failing", "QuotaDiced")) << "never dices";
}

} // namespace
