// Download items read from and written to real NDC files.
#include "download/download_item.h"

#include "harness/registry_sandbox.h"
#include "ndc_fixture.h"
#include "support/text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char* const kFullItem =
    "[Header]\n"
    "Name=Kopf\nDateVer=3\nShowhtm=show.htm\nStopMsg=stop\nRedirURL=http://r\nPush=1\n"
    "LocalURL=/rHKLM\\X\\Y;sub\nState=ignored in the header\n"
    "[Update1]\n"
    "Name=Erstes Update\nDateVer=20240101\nState=neu\nSize=1,5 MB\nTooltip=tip\nFile=u1.exe\n"
    "FileURL=http://host/u1.exe\nInstalliert=/FX\nClose=close\nShellExecute=shell\nRun=run\n"
    "SilentRun=silent\nSummary=sum\nDestination=HKLM\\D\\Dest\nDelFile=del\nSeverity=hoch\n"
    "MyGroup=GRP\nInfo=Info-Text;info.htm\nUpdate=1\nDownload=1\nElster=1\nReDistribute=2\n"
    "Quota=300\nQuotaDiced=17\nPrivilegedGroup=beta\nShowhtm=not read here\n";

TEST(DownloadItem, LoadReadsEveryKeyOfItsSection)
{
    TempFolder folder;
    const std::string path = folder.Write("Full.NDC", kFullItem);
    CDownloadItem item;
    ASSERT_EQ(0, item.Load(path.c_str(), "Update1"));
    EXPECT_EQ(nv::ToLower(path), item.GetNdcFile());
    EXPECT_EQ("update1", item.m_strSection);
    EXPECT_EQ("Erstes Update", item.GetName());
    EXPECT_EQ(20240101, item.GetDateVer());
    EXPECT_EQ("neu", item.GetState());
    EXPECT_EQ("1,5 mb kB", item.GetSize());
    EXPECT_EQ("tip", item.GetTooltip());
    EXPECT_EQ("u1.exe", item.GetFile());
    EXPECT_EQ("http://host/u1.exe", item.GetFileURL());
    EXPECT_EQ("/FX", item.m_strInstalliert);
    EXPECT_EQ("close", item.GetClose());
    EXPECT_EQ("shell", item.GetShellExecute());
    EXPECT_EQ("run", item.GetRun());
    EXPECT_EQ("silent", item.GetSilentRun());
    EXPECT_EQ("sum", item.GetSummary());
    EXPECT_EQ("HKLM\\D\\Dest", item.GetDestination());
    EXPECT_EQ("del", item.GetDelFile());
    EXPECT_EQ("hoch", item.GetSeverity());
    EXPECT_EQ("grp", item.GetMyGroup());
    EXPECT_EQ("Info-Text", item.GetInfoText());
    EXPECT_EQ("info.htm", item.GetInfoFile());
    EXPECT_EQ(1, item.GetUpdate());
    EXPECT_EQ(1, item.GetDownload());
    EXPECT_EQ(1, item.GetElster());
    EXPECT_EQ(2, item.GetReDistribute());
    EXPECT_EQ(300, item.GetQuota());
    EXPECT_EQ(17, item.GetQuotaDiced());
    EXPECT_EQ("beta", item.GetPrivilegedGroup());
    EXPECT_EQ("", item.GetShowhtm()) << "header keys are read only from the header";
    EXPECT_EQ(1, item.GetWantDownload());
    EXPECT_TRUE(item.IsItemSection());
    EXPECT_FALSE(item.IsHeader());

    CDownloadItem header;
    ASSERT_EQ(0, header.Load(path.c_str(), "Header"));
    EXPECT_TRUE(header.IsHeader());
    EXPECT_FALSE(header.IsItemSection());
    EXPECT_EQ("Kopf", header.GetName());
    EXPECT_EQ(3, header.GetDateVer());
    EXPECT_EQ("show.htm", header.GetShowhtm());
    EXPECT_EQ("stop", header.GetStopMsg());
    EXPECT_EQ("http://r", header.GetRedirURL());
    EXPECT_EQ(1, header.GetPush());
    EXPECT_EQ("/rHKLM\\X\\Y;sub", header.GetLocalURL()) << "resolved only by the local check";
    EXPECT_EQ("", header.GetState()) << "item keys are not read from the header";
}

struct ValueRow {
    const char* name;
    const char* lines;
    const char* size;
    int update;
    int reDistribute;
    int elster;
    const char* itemName;
    const char* infoText;
    const char* infoFile;
};

TEST(DownloadItem, NormalisesValuesAsTheyAreRead)
{
    const std::vector<ValueRow> rows = {
        {"plain size gets kB", "Size=512", "512 kB", 0, 0, 0, "Sec", "", ""},
        {"KB becomes kb", "Size=512 KB", "512 kb", 0, 0, 0, "Sec", "", ""},
        {"kb stays", "Size=700kb", "700kb", 0, 0, 0, "Sec", "", ""},
        {"update 2 reads 0", "Update=2", "", 0, 0, 0, "Sec", "", ""},
        {"update -1 reads 0", "Update=-1", "", 0, 0, 0, "Sec", "", ""},
        {"redistribute 2 stays", "ReDistribute=2", "", 0, 2, 0, "Sec", "", ""},
        {"redistribute 3 reads 0", "ReDistribute=3", "", 0, 0, 0, "Sec", "", ""},
        {"elster 5 reads 0", "Elster=5", "", 0, 0, 0, "Sec", "", ""},
        {"empty name gives the section", "Name=", "", 0, 0, 0, "Sec", "", ""},
        {"quoted name", "Name=\" Q \"", "", 0, 0, 0, " Q ", "", ""},
        {"info with one field", "Info=nur Text", "", 0, 0, 0, "Sec", "nur Text", ""},
        {"info with three fields", "Info=a;b;c", "", 0, 0, 0, "Sec", "a", "b"},
        {"keys in any case", "uPdAtE=1\nsize=3", "3 kB", 1, 0, 0, "Sec", "", ""},
    };
    TempFolder folder;
    for (const ValueRow& row : rows) {
        const std::string path =
            folder.Write("values.ndc", std::string("[Sec]\n") + row.lines + "\n");
        CDownloadItem item;
        ASSERT_EQ(0, item.Load(path.c_str(), "Sec")) << row.name;
        EXPECT_EQ(row.size, item.GetSize()) << row.name;
        EXPECT_EQ(row.update, item.GetUpdate()) << row.name;
        EXPECT_EQ(row.reDistribute, item.GetReDistribute()) << row.name;
        EXPECT_EQ(row.elster, item.GetElster()) << row.name;
        EXPECT_EQ(row.itemName, item.GetName()) << row.name;
        EXPECT_EQ(row.infoText, item.GetInfoText()) << row.name;
        EXPECT_EQ(row.infoFile, item.GetInfoFile()) << row.name;
    }
}

TEST(DownloadItem, LongValuesAreCutAtTheValueBuffer)
{
    TempFolder folder;
    const std::string path = folder.Write(
        "long.ndc", "[Item]\nTooltip=" + std::string(1100, 't') + "\nSummary=\"" +
                        std::string(1021, 's') + "\"\nRun=" + std::string(1022, 'r') + "\n");
    CDownloadItem item;
    item.Load(path.c_str(), "Item");
    EXPECT_EQ(std::string(1022, 't'), item.GetTooltip());
    EXPECT_EQ(std::string(1021, 's'), item.GetSummary());
    EXPECT_EQ(std::string(1022, 'r'), item.GetRun());
}

TEST(DownloadItem, HeaderPushOtherThanOneReadsZero)
{
    TempFolder folder;
    for (const char* push : {"2", "-1", "x"}) {
        const std::string path = folder.Write("push.ndc", std::string("[Header]\nPush=") + push);
        CDownloadItem header;
        header.Load(path.c_str(), "header");
        EXPECT_EQ(0, header.GetPush()) << push;
    }
}

TEST(DownloadItem, SizeInKilobytes)
{
    const struct {
        const char* size;
        int kb;
        const char* normalised;
    } rows[] = {
        {"512 kB", 512, "512 kb"},
        {"512kb", 512, "512kb"},
        {"  300 KB ", 300, "300 kb"},
        {"1,5 mb kB", 1, "1,5 mb kb"},
        {"kb", 0, "kb"},
        {"512", 0, "512"},
        {"", 0, ""},
    };
    for (const auto& row : rows) {
        CDownloadItem item;
        item.m_strSize = row.size;
        EXPECT_EQ(row.kb, item.GetSizeKB()) << row.size;
        EXPECT_EQ(row.normalised, item.m_strSize) << row.size;
    }
}

TEST(DownloadItem, FileUrlsMayReferToAProfileSetting)
{
    RegistrySandbox registry;
    const char* key = "Software\\NvinfoItemTest";
    registry.CreateKey(HKEY_LOCAL_MACHINE, key);
    registry.SetString(HKEY_LOCAL_MACHINE, key, "Path", "D:\\Pkg");
    registry.SetString(HKEY_LOCAL_MACHINE, key, "Slashed", "D:\\Pkg\\");
    const std::string base = "HKLM\\Software\\NvinfoItemTest\\";
    const struct {
        const char* name;
        std::string url;
        std::string expected;
    } rows[] = {
        {"with suffix", "/r" + base + "Path;setup.exe", "D:\\Pkg\\setup.exe"},
        {"value ends with backslash", "/r" + base + "Slashed;setup.exe", "D:\\Pkg\\setup.exe"},
        {"dash and capital R", "-R" + base + "Path;setup.exe", "D:\\Pkg\\setup.exe"},
        {"without suffix", "/r" + base + "Path", "D:\\Pkg\\"},
        {"missing value keeps the raw text", "/r" + base + "Missing;setup.exe",
         "/r" + base + "Missing;setup.exe"},
        {"empty path keeps the raw text", "/r;setup.exe", "/r;setup.exe"},
        {"too short", "/r", "/r"},
        {"plain address", "http://x/y", "http://x/y"},
    };
    TempFolder folder;
    for (const auto& row : rows) {
        const std::string path = folder.Write("url.ndc", "[Item]\nFileURL=" + row.url + "\n");
        CDownloadItem item;
        item.Load(path.c_str(), "Item");
        EXPECT_EQ(row.expected, item.GetFileURL()) << row.name;
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
    EXPECT_EQ(diced, again.GetQuotaDiced()) << "the next load uses the written number";
    again.IsInstallable();
    EXPECT_EQ(diced, again.GetQuotaDiced());

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
        BOOL check;
    } rows[] = {
        {"no quota", -1, 900, TRUE, TRUE},
        {"diced below", 500, 499, TRUE, TRUE},
        {"diced equal", 500, 500, TRUE, TRUE},
        {"diced above", 500, 501, FALSE, FALSE},
        {"quota zero", 0, 700, FALSE, FALSE},
        {"privileged group unknown to the machine", 0, 700, FALSE, FALSE},
    };
    for (const auto& row : rows) {
        CDownloadItem item;
        item.m_nQuota = row.quota;
        item.m_nQuotaDiced = row.diced;
        item.m_strPrivilegedGroup = "beta";
        EXPECT_EQ(row.within, item.IsWithinQuota()) << row.name;
        EXPECT_EQ(row.check, item.CheckQuota()) << row.name;
        EXPECT_FALSE(item.IsPrivileged()) << row.name;
    }
    CDownloadItem undiced;
    undiced.m_nQuota = 0;
    EXPECT_TRUE(undiced.IsWithinQuota());
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
    EXPECT_EQ(0, item.WriteDownload(1, folder.File("no\\such\\folder.ndc").c_str()))
        << "a failed write is not reported";
    EXPECT_TRUE(item.SetQuotaDiced(42, TRUE));
    EXPECT_EQ("42", ReadNdcKey(own, "Item", "QuotaDiced"));
    EXPECT_EQ(7, item.SetQuota(7, FALSE));
    EXPECT_EQ("<none>", ReadNdcKey(own, "Item", "Quota"));
    item.SetState("a", "b");
    EXPECT_EQ("", item.GetState());
}

TEST(DownloadItem, SectionKinds)
{
    const struct {
        const char* section;
        bool item;
        bool header;
        bool dnload;
    } rows[] = {
        {"Update1", true, false, false}, {"Header", false, true, false},
        {"HEADER", false, true, false},  {"Konfiguration", false, false, false},
        {"!x", false, false, false},     {"~x", false, false, false},
        {"@x", false, false, false},     {"DnLoad", true, false, true},
        {"x!", true, false, false},
    };
    TempFolder folder;
    const std::string path = folder.Write("kinds.ndc", "");
    for (const auto& row : rows) {
        CDownloadItem item;
        item.Load(path.c_str(), row.section);
        EXPECT_EQ(row.item, item.IsItemSection() != FALSE) << row.section;
        EXPECT_EQ(row.header, item.IsHeader() != FALSE) << row.section;
        EXPECT_EQ(row.dnload, item.IsDnload() != FALSE) << row.section;
    }
    EXPECT_FALSE(IsItemSectionName(""));
}

TEST(DownloadItem, LoadWithoutPathOrSectionChangesNothing)
{
    CDownloadItem item;
    item.m_strName = "kept";
    EXPECT_EQ(-1, item.Load(nullptr, "x"));
    EXPECT_EQ(-1, item.Load("c:\\x.ndc", nullptr));
    EXPECT_EQ("kept", item.GetName());
    TempFolder folder;
    CDownloadItem missing;
    EXPECT_EQ(0, missing.Load(folder.File("missing.ndc").c_str(), "Abc"));
    EXPECT_EQ("Abc", missing.GetName());
    EXPECT_EQ(-1, missing.GetQuota());
    EXPECT_FALSE(missing.IsValid());
    EXPECT_TRUE(missing.IsInstallable());
}

TEST(DownloadItem, CopyKeepsItsOwnPrivilegedGroup)
{
    TempFolder folder;
    const std::string path = folder.Write("Full.NDC", kFullItem);
    CDownloadItem source;
    source.Load(path.c_str(), "Update1");
    CDownloadItem copy;
    copy.m_strPrivilegedGroup = "mine";
    copy.CopyFrom(source);
    EXPECT_EQ(source.GetName(), copy.GetName());
    EXPECT_EQ(source.GetMyGroup(), copy.GetMyGroup());
    EXPECT_EQ(source.GetQuotaDiced(), copy.GetQuotaDiced());
    EXPECT_EQ(source.GetFileURL(), copy.GetFileURL());
    EXPECT_EQ(source.m_strSection, copy.m_strSection);
    EXPECT_EQ("mine", copy.GetPrivilegedGroup());
}

} // namespace
