// IsInstalliert, IsItemInstallable and IsLocalUpdateAvailable called through
// the built module with real NDC files, registry values and files.
#include "harness/module_paths.h"
#include "harness/nvinfo_module.h"
#include "harness/registry_sandbox.h"
#include "harness/temp_folder.h"
#include "nvinfo.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char* const kDownloadKey = "Software\\Norvane\\Download";
const char* const kTestKey = "Software\\NvinfoDownloadExportTest";

std::string ReadKey(const std::string& path, const char* section, const char* key)
{
    char buffer[64] = {};
    GetPrivateProfileStringA(section, key, "<none>", buffer, sizeof buffer, path.c_str());
    return buffer;
}

// Runs the probe program on the NDC file and sections; its exit code.
DWORD RunQuotaProbe(const std::string& ndc, const std::string& sections)
{
    std::string command = "\"" + OutputFile("quota_probe.exe") + "\" \"" + ndc + "\" " + sections;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        ADD_FAILURE() << "cannot start the probe";
        return 255;
    }
    WaitForSingleObject(process.hProcess, 60000);
    DWORD code = 255;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

TEST(DownloadExports, IsInstalliertEvaluatesConditions)
{
    auto isInstalliert = NvinfoModule::Proc<PFN_NV_TEXTSTD>("IsInstalliert");
    RegistrySandbox registry;
    registry.CreateKey(HKEY_LOCAL_MACHINE, kTestKey);
    registry.SetString(HKEY_LOCAL_MACHINE, kTestKey, "Path", OutputFile("dlfix_v1_5.dll"));
    registry.SetString(HKEY_LOCAL_MACHINE, kTestKey, "Flag", "Abc");
    const std::string values = "HKLM\\" + std::string(kTestKey) + "\\";
    const struct {
        const char* name;
        std::string condition;
        int expected;
    } rows[] = {
        {"file in range", "/F" + values + "Path#2.0.0.0#1.0.0.0", 1},
        {"file above range", "/F" + values + "Path#1.4.0.0", 0},
        {"value comparison", "/R" + values + "Flag;/Sabc", 1},
        {"negated comparison", "!/R" + values + "Flag;/Sabc", 0},
        {"short text", "/FX", 1},
        {"garbage", std::string(3000, ';') + "!!//??##", 1},
        {"unreadable", "/V" + values + "Missing#1", 0},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.expected, isInstalliert(row.condition.c_str())) << row.name;
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
    EXPECT_TRUE(isItemInstallable(ndc.c_str(), "Zero"));
    EXPECT_EQ("<none>", ReadKey(ndc, "Ok", "QuotaDiced"));
}

TEST(DownloadExports, TheMachinesOwnNumberAnswersEveryQuota)
{
    TempFolder folder;
    const struct {
        const char* name;
        const char* machine;
        DWORD expected;
        const char* written;
    } rows[] = {
        {"number 0 offers quota 0", "0", 1, "0"},
        {"text without digits reads 0", "x", 1, "0"},
        {"number 5 is above quota 0", "5", 0, "5"},
    };
    for (const auto& row : rows) {
        RegistrySandbox registry;
        registry.SetString(HKEY_LOCAL_MACHINE, kDownloadKey, "QuotaDiced", row.machine);
        const std::string ndc = folder.Write("dice.ndc", "[Item]\nQuota=0\n");
        EXPECT_EQ(row.expected, RunQuotaProbe(ndc, "Item")) << row.name;
        EXPECT_EQ(row.written, ReadKey(ndc, "Item", "QuotaDiced")) << row.name;
    }
}

TEST(DownloadExports, PrivilegedGroupsSkipTheQuota)
{
    TempFolder folder;
    const std::string ndc = folder.Write(
        "groups.ndc", "[Beta]\nQuota=0\nQuotaDiced=700\nPrivilegedGroup=beta\n"
                      "[Gamma]\nQuota=0\nQuotaDiced=700\nPrivilegedGroup=gamma\n"
                      "[NoGroup]\nQuota=0\nQuotaDiced=700\n");
    const struct {
        const char* name;
        const char* machine;
        DWORD expected;
    } rows[] = {
        {"listed in any case", "alpha;BETA", 1},
        {"empty first field ends the list", ";beta", 0},
        {"not listed", "alpha", 0},
        {"last of three", "a;b;gamma", 2},
    };
    for (const auto& row : rows) {
        RegistrySandbox registry;
        registry.SetString(HKEY_LOCAL_MACHINE, kDownloadKey, "PrivilegedGroup", row.machine);
        EXPECT_EQ(row.expected, RunQuotaProbe(ndc, "Beta Gamma NoGroup")) << row.name;
    }
}

TEST(DownloadExports, IsLocalUpdateAvailableComparesWithTheLocalCopy)
{
    auto isLocalUpdateAvailable = NvinfoModule::Proc<PFN_NV_TEXTSTD>("IsLocalUpdateAvailable");
    TempFolder folder;
    RegistrySandbox registry;
    registry.CreateKey(HKEY_LOCAL_MACHINE, kTestKey);
    registry.SetString(HKEY_LOCAL_MACHINE, kTestKey, "Local", folder.File("local"));
    folder.Write("local\\prod.ndc", "[Header]\n[A]\nDateVer=6\n[B]\nDateVer=1\n");
    folder.Write("two\\prod.ndc", "[Header]\n[A]\nDateVer=6\nUpdate=1\n[N1]\nDateVer=1\n[N2]\nDateVer=1\n");
    folder.Write("broken\\prod.ndc", "[Header]\n[A]\nDateVer=6\nMyGroup=nowhere\n");
    const struct {
        const char* name;
        std::string old;
        int expected;
    } rows[] = {
        {"no LocalURL", "[Header]\n[A]\nDateVer=5\nUpdate=1\n", 0},
        {"newer edition there", "[Header]\nLocalURL=" + folder.File("local") + "\n[A]\nDateVer=5\nUpdate=1\n[B]\nDateVer=1\nUpdate=1\n", 1},
        {"redirected folder", "[Header]\nLocalURL=/RHKLM\\" + std::string(kTestKey) + "\\Local\n[A]\nDateVer=5\nUpdate=1\n[B]\nDateVer=1\nUpdate=1\n", 1},
        {"same editions installed", "[Header]\nLocalURL=" + folder.File("local") + "\n[A]\nDateVer=6\nUpdate=1\n[B]\nDateVer=1\nUpdate=1\n", 0},
        {"local folder without the file", "[Header]\nLocalURL=" + folder.File("elsewhere") + "\n[A]\nDateVer=5\n", 0},
        // Two new sections count two: the export still answers 1.
        {"two new sections there", "[Header]\nLocalURL=" + folder.File("two") + "\n[A]\nDateVer=6\nUpdate=1\n", 1},
        // A local copy that does not load gives a negative count: no update.
        {"local copy does not load", "[Header]\nLocalURL=" + folder.File("broken") + "\n[A]\nDateVer=5\n", 0},
    };
    for (const auto& row : rows) {
        const std::string old = folder.Write("prod.ndc", row.old);
        EXPECT_EQ(row.expected, isLocalUpdateAvailable(old.c_str())) << row.name;
    }
    EXPECT_EQ(0, isLocalUpdateAvailable(nullptr));
    EXPECT_EQ(0, isLocalUpdateAvailable(folder.File("missing.ndc").c_str()));
}

} // namespace
