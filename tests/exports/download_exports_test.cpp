// The download and merge exports called through the built module with real
// NDC files, registry values and files.
#include "harness/module_paths.h"
#include "harness/nvinfo_module.h"
#include "harness/registry_sandbox.h"
#include "harness/temp_folder.h"
#include "nvinfo.h"
#include "xml_outline.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

const char* const kTestKey = "Software\\NvinfoDownloadExportTest";

std::string ReadKey(const std::string& path, const std::string& section, const char* key)
{
    char buffer[64] = {};
    GetPrivateProfileStringA(section.c_str(), key, "<none>", buffer, sizeof buffer, path.c_str());
    return buffer;
}

TEST(DownloadExports, IsInstalliertEvaluatesConditions)
{
    auto isInstalliert = NvinfoModule::Proc<PFN_NV_TEXTSTD>("IsInstalliert");
    RegistrySandbox registry;
    registry.CreateKey(HKEY_LOCAL_MACHINE, kTestKey);
    registry.SetString(HKEY_LOCAL_MACHINE, kTestKey, "Path", OutputFile("dlfix_v1_5.dll"));
    const std::string path = "HKLM\\" + std::string(kTestKey) + "\\Path";
    EXPECT_EQ(1, isInstalliert(("/F" + path + "#2.0.0.0#1.0.0.0").c_str()));
    EXPECT_EQ(0, isInstalliert(("!/F" + path).c_str()));
    EXPECT_EQ(1, isInstalliert((std::string(3000, ';') + "!!//??##").c_str()));
    EXPECT_EQ(1, isInstalliert(nullptr));
}

TEST(DownloadExports, IsItemInstallableLoadsTheSection)
{
    auto isItemInstallable = NvinfoModule::Proc<PFN_NV_ISITEMINSTALLABLE>("IsItemInstallable");
    TempFolder folder;
    const std::string ndc = folder.Write(
        "prod.ndc", "[Ok]\nInstalliert=/FX\n[Fails]\nInstalliert=/RHKLM\\NOPE\\NOPE\n"
                    "[Quota]\nQuota=999\n[Zero]\nQuota=-5\nQuotaDiced=3\n");
    EXPECT_TRUE(isItemInstallable(ndc.c_str(), "Ok"));
    EXPECT_FALSE(isItemInstallable(ndc.c_str(), "Fails"));
    EXPECT_TRUE(isItemInstallable(ndc.c_str(), "Missing")) << "no condition, no quota";
    EXPECT_TRUE(isItemInstallable(folder.File("none.ndc").c_str(), "Any"));
    EXPECT_TRUE(isItemInstallable(ndc.c_str(), "Quota")) << "every number is within 999";
    EXPECT_NE("<none>", ReadKey(ndc, "Quota", "QuotaDiced"));
    EXPECT_TRUE(isItemInstallable(ndc.c_str(), "Zero")) << "no quota";
}

// The machine-wide settings are read once per process: each row asks a probe
// process of its own (exit code: bit i set when the i-th section is installable).
TEST(DownloadExports, MachineNumberAndPrivilegedGroupsDecideTheQuota)
{
    const struct {
        const char* name;
        const char* machine;
        const char* privileged;  // null: not set
        DWORD expected;
        const char* written;
    } rows[] = {
        {"number 0 offers quota 0", "0", nullptr, 1, "0"},
        {"text without digits reads 0", "x", nullptr, 1, "0"},
        {"number 5 is above quota 0", "5", nullptr, 0, "5"},
        {"listed in any case", "5", "alpha;BETA", 2, "5"},
        {"empty first field ends the list", "5", ";beta", 0, "5"},
        {"not listed", "5", "alpha", 0, "5"}, {"last of three", "5", "a;b;gamma", 4, "5"},
    };
    TempFolder folder;
    for (const auto& row : rows) {
        RegistrySandbox registry;
        registry.SetString(HKEY_LOCAL_MACHINE, "Software\\Norvane\\Download", "QuotaDiced", row.machine);
        if (row.privileged)
            registry.SetString(HKEY_LOCAL_MACHINE, "Software\\Norvane\\Download", "PrivilegedGroup",
                               row.privileged);
        const std::string ndc = folder.Write(
            "dice.ndc", "[Item]\nQuota=0\n[Beta]\nQuota=0\nQuotaDiced=700\nPrivilegedGroup=beta\n"
                        "[Gamma]\nQuota=0\nQuotaDiced=700\nPrivilegedGroup=gamma\n");
        std::string command = "\"" + OutputFile("quota_probe.exe") + "\" \"" + ndc + "\" Item Beta Gamma";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                   &startup, &process));
        WaitForSingleObject(process.hProcess, 60000);
        DWORD code = 255;
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        EXPECT_EQ(row.expected, code) << row.name;
        EXPECT_EQ(row.written, ReadKey(ndc, "Item", "QuotaDiced")) << row.name;
    }
}

// "$" in a LocalURL stands for the local folder.
TEST(DownloadExports, IsLocalUpdateAvailableComparesWithTheLocalCopy)
{
    auto isLocalUpdateAvailable = NvinfoModule::Proc<PFN_NV_TEXTSTD>("IsLocalUpdateAvailable");
    TempFolder folder;
    RegistrySandbox registry;
    registry.CreateKey(HKEY_LOCAL_MACHINE, kTestKey);
    registry.SetString(HKEY_LOCAL_MACHINE, kTestKey, "Local", folder.File("local"));
    const char* const installed = "[A]\nDateVer=5\nUpdate=1\n";
    const char* const newer = "[A]\nDateVer=6\n";
    const struct {
        const char* name;
        std::string localUrl;
        const char* local;  // the local copy, null: none
        const char* old;
        int expected;
    } rows[] = {
        {"no LocalURL", "", newer, installed, 0}, {"newer edition there", "$", newer, installed, 1},
        {"redirected folder", "/RHKLM\\" + std::string(kTestKey) + "\\Local", newer, installed, 1},
        {"redirection that fails", "/RHKLM\\" + std::string(kTestKey) + "\\None", newer, installed, 0},
        {"reference without a path", "/r", newer, installed, 0},
        {"same edition installed", "$\\", "[A]\nDateVer=5\n", installed, 0},
        {"not installed here", "$", "[A]\nDateVer=5\n", "[A]\nDateVer=5\n", 1},
        {"newer but not installable", "$", "[A]\nDateVer=6\nInstalliert=/RHKLM\\NOPE\\X\n", installed, 0},
        {"headers and non-items do not count", "$", "[Header]\n[Konfiguration]\n[!x]\n[~y]\n[@z]\n", "", 0},
        {"local folder without the file", "$", nullptr, installed, 0},
        {"two new sections there count two, the export answers 1", "$", "[A]\nDateVer=5\n[N1]\n[N2]\n", installed, 1},
        {"local copy does not load: negative count, no update", "$", "[A]\nDateVer=6\nMyGroup=nowhere\n", installed, 0},
    };
    for (const auto& row : rows) {
        std::string url = row.localUrl;
        if (!url.empty() && url[0] == '$')
            url.replace(0, 1, folder.File("local"));
        if (row.local)
            folder.Write("local\\prod.ndc", row.local);
        else
            DeleteFileA(folder.File("local\\prod.ndc").c_str());
        const std::string old = folder.Write(
            "prod.ndc", "[Header]\n" + (url.empty() ? "" : "LocalURL=" + url + "\n") + row.old);
        EXPECT_EQ(row.expected, isLocalUpdateAvailable(old.c_str())) << row.name;
    }
    EXPECT_EQ(0, isLocalUpdateAvailable(nullptr));
    EXPECT_EQ(0, isLocalUpdateAvailable(folder.File("missing.ndc").c_str()));
}

TEST(MergeNdcExports, CarryTheMachinesStateIntoTheNewFile)
{
    TempFolder folder;
    const std::string oldText = "[Header]\r\nDateVer=1\r\n[same]\r\nDateVer=5\r\nUpdate=1\r\n"
                                "QuotaDiced=123\r\n[newer]\r\nDateVer=5\r\nUpdate=1\r\nDownload=1\r\n";
    const std::string newText = "[Header]\r\nDateVer=2\r\n[same]\r\nDateVer=5\r\n[newer]\r\nDateVer=6\r\n"
                                "[blocked]\r\nDateVer=1\r\nInstalliert=/EHKLM\\Software\\NvMergeTest\\Missing\r\n";
    std::string expected = newText;
    expected.insert(expected.find("[newer]"), "QuotaDiced=123\r\nUpdate=1\r\n");
    auto mergeNdc = NvinfoModule::Proc<PFN_NV_MERGENDC>("MergeNdc");
    auto mergeNdc2 = NvinfoModule::Proc<PFN_NV_MERGENDC2>("MergeNdc2");
    for (const char* stem : {"MergeNdc", "MergeNdc2"}) {
        const bool second = stem[8] == '2';
        std::string oldPath = folder.Write(std::string(stem) + ".old.ndc", oldText);
        std::string newPath = folder.Write(std::string(stem) + ".new.ndc", newText);
        BSTR message = nullptr;
        EXPECT_EQ(0, second ? mergeNdc2(newPath.c_str(), oldPath.c_str(), &message)
                            : mergeNdc(newPath.c_str(), oldPath.c_str())) << stem;
        EXPECT_EQ("", second ? TakeBstrText(message) : "") << stem;
        EXPECT_EQ(expected, ReadWholeFile(newPath)) << stem << ": only the carried keys are added";
        EXPECT_EQ(oldText, ReadWholeFile(oldPath)) << stem << ": the old file is only read";
    }
}

TEST(UpdateFlagExports, WriteTheFlagOrReportWhyNot)
{
    TempFolder folder;
    const std::string original = "[Item]\r\nDateVer=1\r\n";
    const struct {
        const char* name;
        const char* exportName;
        const char* section;
        const char* file;  // relative to the folder; null: the one-character path "c"
        int value;
        int expected;
        const char* written;  // null: the file stays as it was (or absent)
    } rows[] = {
        {"download flag", "UpdateAsDownloaded", "Item", "a.ndc", 1, 0, "Download=1"},
        {"update flag, any value", "UpdateAsUpdated", "Item", "b.ndc", -7, 0, "Update=-7"},
        {"missing section keeps its spelling", "UpdateAsDownloaded", "NewSection", "d.ndc", 1, 0,
         "[NewSection]\r\nDownload=1"},
        {"one-character section", "UpdateAsUpdated", "x", "e.ndc", 1, -1, nullptr},
        {"one-character path", "UpdateAsDownloaded", "Item", nullptr, 1, -1, nullptr},
        {"missing folder", "UpdateAsDownloaded", "Item", "no folder\\f.ndc", 1, -1, nullptr},
        {"locked file", "UpdateAsUpdated", "Item", "locked.ndc", 1, -1, nullptr},
    };
    for (const auto& row : rows) {
        const std::string path = row.file ? folder.File(row.file) : "c";
        if (row.file && !strchr(row.file, '\\'))
            folder.Write(row.file, original);
        HANDLE lock = CreateFileA(folder.File("locked.ndc").c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        auto writeFlag = NvinfoModule::Proc<PFN_NV_UPDATEFLAG>(row.exportName);
        EXPECT_EQ(row.expected, writeFlag(row.section, path.c_str(), row.value)) << row.name;
        if (lock != INVALID_HANDLE_VALUE)
            CloseHandle(lock);
        const std::string text = FileExists(path) ? ReadWholeFile(path) : original;
        EXPECT_EQ(!row.written, text == original) << row.name << ": " << text;
        EXPECT_TRUE(!row.written || text.find(row.written) != std::string::npos) << row.name << ": " << text;
    }
}

TEST(UpdateStatusExport, AnswersOnlyFromTheLengthsOfItsTexts)
{
    TempFolder folder;
    std::string path = folder.Write("status.ndc", "[Item]\r\nDateVer=1\r\n");
    const struct {
        const char *first, *second, *third;
        int expected;
    } rows[] = {
        {"Item", path.c_str(), "ab", 0}, {"It", "ab", "cd", 0}, {"I", "ab", "cd", -1},
        {"Item", "a", "cd", -1},         {"Item", "ab", "", -1}, {nullptr, "ab", "cd", -1},
    };
    auto updateStatus = NvinfoModule::Proc<PFN_NV_UPDATESTATUS>("UpdateStatus");
    for (const auto& row : rows)
        EXPECT_EQ(row.expected, updateStatus(row.first, row.second, row.third))
            << (row.first ? row.first : "<null>") << "/" << row.second << "/" << row.third;
    EXPECT_EQ("[Item]\r\nDateVer=1\r\n", ReadWholeFile(path));
}

} // namespace
