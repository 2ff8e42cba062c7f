// Download items read from and written to real NDC files.
#include "download/download_item.h"

#include "harness/registry_sandbox.h"
#include "ndc_fixture.h"
#include "support/text.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;

void ExpectFields(const Fields& fields, const char* what)
{
    for (size_t i = 0; i < fields.size(); ++i)
        EXPECT_EQ(fields[i].second, fields[i].first) << what << " field " << i;
}

TEST(DownloadItem, LoadReadsTheKeysOfItsSectionKind)
{
    TempFolder folder;
    const std::string path = folder.Write(
        "Full.NDC",
        "[Header]\nName=Kopf\nDateVer=3\nShowhtm=show.htm\nStopMsg=stop\nRedirURL=http://r\nPush=1\n"
        "LocalURL=/rHKLM\\X\\Y;sub\nState=ignored in the header\n"
        "[Update1]\nName=Erstes Update\nDateVer=20240101\nState=neu\nSize=1,5 MB\nTooltip=tip\n"
        "File=u1.exe\nFileURL=http://host/u1.exe\nInstalliert=/FX\nClose=close\nShellExecute=shell\n"
        "Run=run\nSilentRun=silent\nSummary=sum\nDestination=HKLM\\D\\Dest\nDelFile=del\n"
        "Severity=hoch\nMyGroup=GRP\nInfo=Info-Text;info.htm\nUpdate=1\nDownload=1\nElster=1\n"
        "ReDistribute=2\nQuota=300\nQuotaDiced=17\nPrivilegedGroup=beta\nShowhtm=not read here\n");
    CDownloadItem item;
    ASSERT_EQ(0, item.Load(path.c_str(), "Update1"));
    ExpectFields({{item.GetNdcFile(), nv::ToLower(path)}, {item.m_strSection, "update1"},
                  {item.GetName(), "Erstes Update"}, {item.GetState(), "neu"},
                  {item.GetSize(), "1,5 mb kB"}, {item.GetTooltip(), "tip"}, {item.GetFile(), "u1.exe"},
                  {item.GetFileURL(), "http://host/u1.exe"}, {item.m_strInstalliert, "/FX"},
                  {item.GetClose(), "close"}, {item.GetShellExecute(), "shell"}, {item.GetRun(), "run"},
                  {item.GetSilentRun(), "silent"}, {item.GetSummary(), "sum"},
                  {item.GetDestination(), "HKLM\\D\\Dest"}, {item.GetDelFile(), "del"},
                  {item.GetSeverity(), "hoch"}, {item.GetMyGroup(), "grp"},
                  {item.GetInfoText(), "Info-Text"}, {item.GetInfoFile(), "info.htm"},
                  {item.GetPrivilegedGroup(), "beta"}, {item.GetShowhtm(), ""},
                  {std::to_string(item.GetDateVer()), "20240101"},
                  {std::to_string(item.GetUpdate()) + std::to_string(item.GetDownload()) +
                       std::to_string(item.GetElster()) + std::to_string(item.GetReDistribute()) +
                       std::to_string(item.GetWantDownload()),
                   "11121"},
                  {std::to_string(item.GetQuota()) + "/" + std::to_string(item.GetQuotaDiced()), "300/17"}},
                 "item");
    CDownloadItem header;
    ASSERT_EQ(0, header.Load(path.c_str(), "Header"));
    ExpectFields({{header.GetName(), "Kopf"}, {std::to_string(header.GetDateVer()), "3"},
                  {header.GetShowhtm(), "show.htm"}, {header.GetStopMsg(), "stop"},
                  {header.GetRedirURL(), "http://r"}, {std::to_string(header.GetPush()), "1"},
                  {header.GetLocalURL(), "/rHKLM\\X\\Y;sub"}, {header.GetState(), ""}},
                 "header");

    CDownloadItem missing;
    EXPECT_EQ(-1, missing.Load(nullptr, "x"));
    EXPECT_EQ(0, missing.Load(folder.File("missing.ndc").c_str(), "Abc"));
    EXPECT_EQ("Abc", missing.GetName());
    EXPECT_TRUE(missing.IsInstallable());
}

TEST(DownloadItem, NormalisesValuesAsTheyAreRead)
{
    RegistrySandbox registry;
    const char* key = "Software\\NvinfoItemTest";
    registry.CreateKey(HKEY_LOCAL_MACHINE, key);
    registry.SetString(HKEY_LOCAL_MACHINE, key, "Path", "D:\\Pkg");
    registry.SetString(HKEY_LOCAL_MACHINE, key, "Slashed", "D:\\Pkg\\");
    const struct {
        const char* name;
        std::string lines;
        const char* expected;  // size|update|redistribute|elster|push|name|info text|info file|url
    } rows[] = {
        {"plain size gets kB", "Size=512", "512 kB|0|0|0|0|Sec|||"},
        {"KB becomes kb", "Size=512 KB", "512 kb|0|0|0|0|Sec|||"},
        {"kb stays", "Size=700kb", "700kb|0|0|0|0|Sec|||"},
        {"flags out of range read 0", "Update=2\nElster=5\nReDistribute=3\nPush=2",
         "|0|0|0|0|Sec|||"},
        {"negative flags read 0", "Update=-1\nPush=-1", "|0|0|0|0|Sec|||"},
        {"redistribute 2 stays", "ReDistribute=2", "|0|2|0|0|Sec|||"},
        {"empty name gives the section", "Name=", "|0|0|0|0|Sec|||"},
        {"quoted name", "Name=\" Q \"", "|0|0|0|0| Q |||"},
        {"info with one field", "Info=nur Text", "|0|0|0|0|Sec|nur Text||"},
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
        {"url, empty path keeps the text", "FileURL=/r;setup.exe", "|0|0|0|0|Sec|||/r;setup.exe"},
        {"url too short", "FileURL=/r", "|0|0|0|0|Sec|||/r"},
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
    EXPECT_GE(diced, 0);
    EXPECT_LE(diced, 999);
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

TEST(DownloadItem, QuotaDecisions)
{
    const struct {
        const char* name;
        int quota;
        int diced;
        BOOL within;
    } rows[] = {
        {"no quota", -1, 900, TRUE}, {"diced below", 500, 499, TRUE}, {"diced equal", 500, 500, TRUE},
        {"diced above", 500, 501, FALSE}, {"quota zero", 0, 700, FALSE}, {"not diced yet", 0, -1, TRUE},
    };
    for (const auto& row : rows) {
        CDownloadItem item;
        item.m_nQuota = row.quota;
        item.m_nQuotaDiced = row.diced;
        item.m_strPrivilegedGroup = "beta";
        EXPECT_EQ(row.within, item.IsWithinQuota()) << row.name;
        EXPECT_FALSE(item.IsPrivileged()) << row.name << ": group unknown to the machine";
        if (row.diced >= 0) {
            EXPECT_EQ(row.within, item.CheckQuota()) << row.name;
        }
    }
}

TEST(DownloadItem, FlagWritesGoToTheNamedFileOrTheItemsOwn)
{
    TempFolder folder;
    const std::string own = folder.Write("own.ndc", "[Item]\nDateVer=1\n");
    const std::string other = folder.Write("other.ndc", "[Other]\n");
    CDownloadItem item;
    item.Load(own.c_str(), "ITEM");
    EXPECT_EQ(0, item.WriteUpdate(1, nullptr));
    EXPECT_EQ(1, item.GetUpdate());
    EXPECT_EQ("1", ReadNdcKey(own, "Item", "Update"));
    EXPECT_EQ(0, item.WriteDownload(1, other.c_str()));
    EXPECT_EQ(1, item.GetDownload());
    EXPECT_EQ("1", ReadNdcKey(other, "item", "Download"));
    EXPECT_EQ("<none>", ReadNdcKey(own, "Item", "Download"));
    EXPECT_TRUE(item.SetQuotaDiced(42, TRUE));
    EXPECT_EQ("42", ReadNdcKey(own, "Item", "QuotaDiced"));
    EXPECT_EQ(7, item.SetQuota(7, FALSE));
    EXPECT_EQ("<none>", ReadNdcKey(own, "Item", "Quota"));
}

} // namespace
