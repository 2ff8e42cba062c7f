// Process paths looked up from two threads at once: each lookup loads and
// frees PSAPI for itself, so neither frees it under the other or leaks it.
#include "shutdown/ox_process.h"

#include "harness/target_process.h"

#include <gtest/gtest.h>

#include <future>

TEST(GetProcessModulePath, TwoThreadsAtOnce)
{
    TargetProcess target("lookup");
    DWORD id = 0;
    GetWindowThreadProcessId(FindWindowA("NvTarget", nullptr), &id);
    auto lookups = [id] {
        int right = 0;
        for (std::string path; right < 500 && nv::GetProcessModulePath(id, path); ++right)
            if (lstrcmpiA(path.c_str(), TargetProgram().c_str()))
                break;
        return right;
    };
    auto other = std::async(std::launch::async, lookups);
    EXPECT_EQ(500, lookups());
    EXPECT_EQ(500, other.get());
    EXPECT_EQ(nullptr, GetModuleHandleA("PSAPI.DLL"));
}
