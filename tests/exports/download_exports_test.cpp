// The download and merge exports called through the built module with real
// NDC files, registry values and files.
#include "download/ndc_limits.h"
#include "harness/child_process.h"
#include "harness/held_file.h"
#include "harness/host_tool.h"
#include "harness/module_paths.h"
#include "harness/nvinfo_module.h"
#include "harness/registry_sandbox.h"
#include "harness/temp_folder.h"
#include "nvinfo.h"
#include "xml_text.h"

#include <gtest/gtest.h>
#include <cstring>
#include <memory>
#include <set>

// The machine-wide settings are read once per process: each row asks the host tool, once per
// section, in processes of their own (bit i of `expected`: the i-th of Item, Beta installable).
TEST(DownloadExports, MachineNumberAndPrivilegedGroupsDecideTheQuotaAndEachProcessDraws)
{
    const struct {
        const char *name, *machine, *privileged; // privileged null: not set
        int expected, written;
    } rows[] = {
        {"number 0 offers quota 0", "0", nullptr, 1, 0},
        {"not listed", "5", "alpha", 0, 5},
        {"empty first field ends the list", "5", ";beta", 0, 5},
    };
    TempFolder folder;
    const char* const settings = "Software\\Norvane\\Download";
    RegistrySandbox registry;
    for (const auto& row : rows) {
        registry.Set(HKEY_LOCAL_MACHINE, settings, "QuotaDiced", row.machine);
        if (row.privileged)
            registry.Set(HKEY_LOCAL_MACHINE, settings, "PrivilegedGroup", row.privileged);
        const std::string ndc = folder.Write(
            "dice.ndc", "[Item]\nQuota=0\n[Beta]\nQuota=0\nQuotaDiced=700\nPrivilegedGroup=beta\n");
        for (int i = 0; i < 2; ++i) {
            const std::string section = i ? "Beta" : "Item";
            EXPECT_EQ("result: " + std::to_string(row.expected >> i & 1) + "\r\n\nexit code 0",
                      RunHostTool(" IsItemInstallable \"" + ndc + "\" " + section))
                << row.name << ", " << section;
        }
        EXPECT_EQ(row.written, int(GetPrivateProfileIntA("Item", "QuotaDiced", -1, ndc.c_str())))
            << row.name;
    }
    // Each process seeds its own generator: fresh processes dicing an item each draw the same
    // number only by a chance of one in a billion.
    registry.DeleteValue(HKEY_LOCAL_MACHINE, settings, "QuotaDiced");
    std::set<UINT> drawn;
    for (int run = 0; run < 4; ++run) {
        const std::string ndc = folder.Write(std::to_string(run) + ".ndc", "[D]\nQuota=999\n");
        RunHostTool(" IsItemInstallable \"" + ndc + "\" D");
        drawn.insert(GetPrivateProfileIntA("D", "QuotaDiced", 1000, ndc.c_str()));
    }
    EXPECT_LT(1u, drawn.size());
    EXPECT_EQ(0u, drawn.count(1000)) << "a run that drew nothing";
}

// "$" in a LocalURL stands for the local folder.
TEST(DownloadExports, LocalUpdatesAndInstallableItemsAnswerFromTheNdcFiles)
{
    auto isLocalUpdateAvailable = NvinfoModule::Proc<PFN_NV_TEXTSTD>("IsLocalUpdateAvailable");
    TempFolder folder;
    const char *installed = "[A]\nDateVer=5\nUpdate=1\n", *newer = "[A]\nDateVer=6\n";
    const struct {
        const char* name;
        std::string localUrl;
        const char *local, *old; // local: the local copy, null: none
        int expected;
    } rows[] = {
        {"no LocalURL", "", newer, installed, 0},
        {"newer edition there", "$", newer, installed, 1},
        {"same edition installed", "$\\", "[A]\nDateVer=5\n", installed, 0},
        {"not installed here", "$", "[A]\nDateVer=5\n", "[A]\nDateVer=5\n", 1},
        {"newer, not installable", "$", "[A]\nDateVer=6\nInstalliert=/RHKLM\\NOPE\\X\n", installed,
         0},
        {"non-items do not count", "$", "[Header]\n[Konfiguration]\n[!x]\n[~y]\n[@z]\n", "", 0},
        {"local folder without the file", "$", nullptr, installed, 0},
        {"two new sections there: 1", "$", "[A]\nDateVer=5\n[N1]\n[N2]\n", installed, 1},
        {"local copy does not load: 0", "$", "[A]\nDateVer=6\nMyGroup=nowhere\n", installed, 0},
    };
    for (const auto& row : rows) {
        std::string url = row.localUrl;
        if (!url.empty() && url[0] == '$')
            url.replace(0, 1, folder.File("local"));
        DeleteFileA(folder.File("local\\prod.ndc").c_str());
        if (row.local)
            folder.Write("local\\prod.ndc", row.local);
        const std::string old = folder.Write(
            "prod.ndc", "[Header]\n" + (url.empty() ? "" : "LocalURL=" + url + "\n") + row.old);
        EXPECT_EQ(row.expected, isLocalUpdateAvailable(old.c_str())) << row.name;
    }
    EXPECT_EQ(0, isLocalUpdateAvailable(nullptr));
    EXPECT_EQ(0, isLocalUpdateAvailable(folder.File("missing.ndc").c_str()));
    // For IsItemInstallable a missing file or section is an item without condition or quota; a
    // file that another program holds is not.
    auto isItemInstallable = NvinfoModule::Proc<PFN_NV_ISITEMINSTALLABLE>("IsItemInstallable");
    const std::string ndc = folder.Write(
        "prod.ndc", "[Other]\nDateVer=1\n[Failing]\nInstalliert=/EHKLM\\Software\\NvNope\\X\n");
    EXPECT_TRUE(isItemInstallable(ndc.c_str(), "Missing"));
    EXPECT_TRUE(isItemInstallable(folder.File("none.ndc").c_str(), "Any"));
    HeldFile held(ndc, 0);
    EXPECT_FALSE(isItemInstallable(ndc.c_str(), "Failing"));
}

// A second process holding the new file: a reader that shares writing does not keep the
// merge's keys out; one that does not makes the merge fail with the system's reason, as one that
// holds either file without sharing, before anything is decided. Either way the file keeps its
// attributes and no temporary file stays.
TEST(MergeNdcExports, CarryTheMachinesStateIntoTheNewFileOrReportWhyNot)
{
    TempFolder folder;
    const std::string oldText =
        "[Header]\r\nDateVer=1\r\n[same]\r\nDateVer=5\r\nUpdate=1\r\n"
        "QuotaDiced=123\r\n[newer]\r\nDateVer=5\r\nUpdate=1\r\nDownload=1\r\n";
    const std::string newText =
        "[Header]\r\nDateVer=2\r\n[same]\r\nDateVer=5\r\nQuota=500\r\n[newer]\r\nDateVer=6\r\n"
        "[blocked]\r\nDateVer=1\r\nInstalliert=/EHKLM\\Software\\NvMergeTest\\No\r\n";
    const struct {
        const char* name;
        bool oldHeld;      // else the new file
        int share, result; // the holder's sharing; the merge's result
        long step;         // named in the message
        DWORD error;       // named in the message
    } rows[] = {
        {"reader sharing write", false, FILE_SHARE_READ | FILE_SHARE_WRITE, 0, 0, 0},
        {"reader sharing read only", false, FILE_SHARE_READ, -1, 7, ERROR_SHARING_VIOLATION},
        {"exclusive reader", false, 0, -1, 0, ERROR_SHARING_VIOLATION},
        {"exclusive reader of the old file", true, 0, -1, 0, ERROR_SHARING_VIOLATION},
    };
    for (const auto& row : rows) {
        const std::string oldPath = folder.Write("old.ndc", oldText),
                          newPath = folder.Write("new.ndc", newText);
        const char *newFile = newPath.c_str(), *oldFile = oldPath.c_str();
        const DWORD attributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;
        SetFileAttributesA(newFile, attributes);
        BSTR message = nullptr;
        auto mergeNdc2 = NvinfoModule::Proc<PFN_NV_MERGENDC2>("MergeNdc2");
        {
            HeldFile held(row.oldHeld ? oldFile : newFile, row.share);
            EXPECT_EQ(row.result, mergeNdc2(newFile, oldFile, &message)) << row.name;
        }
        char reason[512] = {};
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                       row.error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reason, 512, nullptr);
        const std::string text = "Es trat ein MFC-Fehler beim Mergen der NDC '" + oldPath +
                                 "' auf.\nFehler: " + std::to_string(row.step) + "\n" +
                                 std::string(reason, strcspn(reason, "\r\n"));
        EXPECT_EQ(row.error ? text : "", TakeBstrText(message)) << row.name;
        EXPECT_TRUE(row.result ? ReadWholeFile(newPath) == newText
                               : GetPrivateProfileIntA("same", "QuotaDiced", -1, newFile) == 123)
            << row.name;
        EXPECT_EQ(oldText, ReadWholeFile(oldPath)) << row.name;
        EXPECT_EQ(attributes, GetFileAttributesA(newFile)) << row.name;
    }
    WIN32_FIND_DATAA found;
    EXPECT_EQ(INVALID_HANDLE_VALUE, FindFirstFileA(folder.File("*.tmp").c_str(), &found))
        << found.cFileName;
}

// Sections c0 ... cN, each in the group of the next: c0 ends up `depth` groups deep.
static std::string ChainNdc(int depth)
{
    std::string text = "[Header]\n";
    for (int k = 0; k < depth; ++k)
        text += "[c" + std::to_string(k) + "]\nDateVer=1\nMyGroup=c" + std::to_string(k + 1) + "\n";
    return text + "[c" + std::to_string(depth) + "]\nDateVer=1\n";
}

// What the update source sends is taken as it comes: each file gets its answer from a process
// that ends normally, within a generous time and memory even on a loaded machine.
TEST(MergeNdcExports, HostileFetchedFilesGetAnAnswerInBoundedTimeAndMemory)
{
    std::string wide = "[Header]\n", sections = wide;
    for (int k = 0; k < 100000; ++k)
        wide += "[m" + std::to_string(k) + "]\nDateVer=1\nMyGroup=mid\n";
    wide += "[mid]\nDateVer=1\nMyGroup=top\n[top]\nDateVer=1\n";
    for (size_t k = 0; k < nv::ndc::kMaxSections; ++k)
        sections += "[s" + std::to_string(k) + "]\n";
    TempFolder folder;
    const std::string o = " \"" + folder.Write("old.ndc", "[Header]\n") + "\"";
    const std::string n = " \"" + folder.File("new.ndc") + "\"", merge = " MergeNdc" + n + o;
    const int bound = nv::ndc::kMaxGroupDepth;
    const struct {
        const char* name;
        std::string text, call, answer;
    } rows[] = {
        {"as deep as the bound", ChainNdc(bound), merge, "result: 0"},
        {"one level deeper", ChainNdc(bound + 1), merge, "result: -5"},
        {"20,000 groups deep", ChainNdc(20000), " GetUpdates" + o + n + " 1 0 0", "<Updates/>"},
        {"100,000 members, both files", wide, " GetUpdates" + n + n + " 1 0 0", "<Section>top<"},
        {"too many sections", sections, merge, "result: -4"},
        {"too many bytes", "[a]\nInfo=" + std::string(nv::ndc::kMaxFileBytes, 'x'), merge, "-4"},
    };
    for (const auto& row : rows) {
        folder.Write("new.ndc", row.text);
        SIZE_T peak = 0;
        const std::string output = RunHostTool(row.call, &peak);
        EXPECT_NE(std::string::npos, output.find(row.answer)) << row.name << "\n" << output;
        EXPECT_EQ("exit code 0", output.substr(output.rfind('\n') + 1)) << row.name;
        EXPECT_GT(SIZE_T(400) << 20, peak) << row.name;
    }
}

// Two programs merging and writing flags into one file for many rounds: every write reported
// done is in the file at the end. Two programs asking for the list of one fetched file at the
// same moment, round after round: each lists exactly the items whose rollout number in the file
// is within the quota.
TEST(MergeNdcExports, RacingCallersLoseNoWriteAndListWhatTheFileKeeps)
{
    TempFolder folder;
    const std::string racer = OutputFile("flag_racer.exe");
    const std::string oldPath = folder.Write("o.ndc", "[same]\nDateVer=5\nUpdate=1\nQuotaDiced=1");
    const std::string newPath = folder.Write("n.ndc", "[same]\nDateVer=5\n[diced]\nQuota=9");
    const int rounds = 100;
    const std::string files = Quoted(newPath) + " " + Quoted(oldPath) + " ";
    ChildProcess a(racer, files + "a " + std::to_string(rounds));
    ChildProcess b(racer, files + "b " + std::to_string(rounds));
    // Generous for a loaded machine; a hang still ends here. Exit code: the failed calls.
    EXPECT_EQ(0u, a.Finish(120000));
    EXPECT_EQ(0u, b.Finish(120000));
    for (int round = 0; round < 2 * rounds; ++round) {
        const std::string section = (round < rounds ? "a" : "b") + std::to_string(round % rounds);
        EXPECT_EQ(1u, GetPrivateProfileIntA(section.c_str(), "Download", 0, newPath.c_str()))
            << section;
    }
    EXPECT_EQ(1u, GetPrivateProfileIntA("same", "QuotaDiced", 0, newPath.c_str()));
    EXPECT_EQ(1u, GetPrivateProfileIntA("same", "Update", 0, newPath.c_str()));
    EXPECT_LT(GetPrivateProfileIntA("diced", "QuotaDiced", 1000, newPath.c_str()), 1000u);

    std::string items = "[Header]\n";
    for (int k = 0; k < 40; ++k)
        items += "[q" + std::to_string(k) + "]\nQuota=499\n";
    const std::string name = "nvinfo-race-" + std::to_string(GetCurrentProcessId());
    const std::string list = "list " + Quoted(folder.Write("o.ndc", "[Header]\n")) + " " +
                             Quoted(newPath) + " " + name + " ";
    HANDLE ready = CreateSemaphoreA(nullptr, 0, 2, (name + ".ready").c_str());
    HANDLE start = CreateEventA(nullptr, TRUE, FALSE, (name + ".start").c_str());
    for (int round = 0; round < 5; ++round) {
        folder.Write("n.ndc", items);
        ResetEvent(start);
        ChildProcess a(racer, list + Quoted(folder.File("a"))),
            b(racer, list + Quoted(folder.File("b")));
        EXPECT_EQ(0u, WaitForSingleObject(ready, 60000) + WaitForSingleObject(ready, 60000));
        SetEvent(start);
        EXPECT_EQ(0u, a.Finish(60000) + b.Finish(60000));
        for (const char* out : {"a", "b"})
            for (int k = 0; k < 40; ++k) {
                const std::string q = "q" + std::to_string(k);
                EXPECT_EQ(GetPrivateProfileIntA(q.c_str(), "QuotaDiced", 999, newPath.c_str()) <
                              500,
                          ReadWholeFile(folder.File(out)).find(">" + q + "<") != std::string::npos)
                    << round << out << q;
            }
    }
}

// A write held off by a second process that does not share writing is reported.
TEST(UpdateFlagExports, WriteTheFlagOrReportWhyNot)
{
    TempFolder folder;
    const std::string original = "[Item]\r\nDateVer=1\r\n";
    const struct {
        const char *name, *section;
        int value, expected;
        const char* written; // null: the file stays as it was
        int share;           // of a second process holding the file; -1: none
    } rows[] = {
        {"update flag, any value", "Item", -7, 0, "Update=-7", -1},
        {"one-character section", "x", 1, -1, nullptr, -1},
        {"exclusive reader", "Item", 1, -1, nullptr, 0},
    };
    auto updateAsUpdated = NvinfoModule::Proc<PFN_NV_UPDATEFLAG>("UpdateAsUpdated");
    for (const auto& row : rows) {
        const std::string path = folder.Write("flag.ndc", original);
        std::unique_ptr<HeldFile> holder(row.share < 0 ? nullptr : new HeldFile(path, row.share));
        EXPECT_EQ(row.expected, updateAsUpdated(row.section, path.c_str(), row.value)) << row.name;
        holder.reset();
        const std::string text = ReadWholeFile(path);
        EXPECT_EQ(!row.written, text == original) << row.name;
        EXPECT_TRUE(!row.written || text.find(row.written) != std::string::npos) << row.name;
    }
}
