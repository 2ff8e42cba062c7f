// Executable paths of processes, through PSAPI and through the toolhelp snapshot.
#include "harness/module_paths.h"
#include "harness/target_process.h"
#include "shutdown/ox_process.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string OwnPath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

std::string FileName(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

TEST(ProcessPath, KnownProcesses)
{
    TargetProcess target(TargetProgram(), "NvPathTarget",
                         "path-" + std::to_string(GetCurrentProcessId()));
    struct Row {
        const char* name;
        DWORD processId;
        std::string path;
    } rows[] = {
        {"own process", GetCurrentProcessId(), OwnPath()},
        {"another program", target.Id(), TargetProgram()},
        {"idle process", 0, "System Idle Process"},
        {"system process", 2, "System"},
    };
    for (const Row& row : rows) {
        std::string path = "stale";
        EXPECT_TRUE(nv::GetProcessModulePath(row.processId, path)) << row.name;
        EXPECT_EQ(0, lstrcmpiA(row.path.c_str(), path.c_str()))
            << row.name << ": " << path << " is not " << row.path;
    }
}

TEST(ProcessPath, EndedProcessHasNone)
{
    DWORD endedId = 0;
    {
        TargetProcess target(TargetProgram(), "NvPathEnded",
                             "ended-" + std::to_string(GetCurrentProcessId()));
        endedId = target.Id();
    }
    std::string path;
    EXPECT_FALSE(nv::GetProcessModulePath(endedId, path));
    EXPECT_FALSE(nv::GetSnapshotProcessPath(endedId, path));
}

TEST(ProcessPath, PsapiIsLoadedOnlyDuringALookup)
{
    if (GetModuleHandleA("psapi.dll"))
        GTEST_SKIP() << "the test program itself holds PSAPI";
    TargetProcess target(TargetProgram(), "NvPathPsapi",
                         "psapi-" + std::to_string(GetCurrentProcessId()));
    std::string path;
    ASSERT_TRUE(nv::GetProcessModulePath(target.Id(), path));
    EXPECT_EQ(nullptr, GetModuleHandleA("psapi.dll"));
    ASSERT_TRUE(nv::GetProcessModulePath(target.Id(), path));
    EXPECT_EQ(nullptr, GetModuleHandleA("psapi.dll"));
}

TEST(ProcessPath, SnapshotFindsTheProgram)
{
    TargetProcess target(TargetProgram(), "NvPathSnapshot",
                         "snapshot-" + std::to_string(GetCurrentProcessId()));
    std::string path;
    ASSERT_TRUE(nv::GetSnapshotProcessPath(target.Id(), path));
    EXPECT_EQ(0, lstrcmpiA("nvtarget.exe", FileName(path).c_str())) << path;
}

} // namespace
