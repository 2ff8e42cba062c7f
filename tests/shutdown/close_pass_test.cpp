// One pass over the windows for one entry, for the sends that used to wait
// without a limit.
#include "harness/target_process.h"
#include "shutdown/close_apps.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CloseMatchingApplications, SendsToAnApplicationThatHangsOnCloseGiveUp)
{
    struct Row {
        const char* name;
        const char* entry;
    } rows[] = {
        {"R sends WM_CLOSE", "/R1'NvBoundSend'"},
        {"S sends WM_QUIT", "/s1'NvBoundSend'"},
    };
    for (const Row& row : rows) {
        TargetProcess target(TargetProgram(), "NvBoundSend",
                             "bound-" + std::to_string(GetCurrentProcessId()),
                             {"hangonclose", "prop=NvBoundSend"});
        int matched = -1;
        DWORD start = GetTickCount();
        ASSERT_TRUE(FinishesWithin(
            10000, [&] { matched = nv::CloseMatchingApplications(row.entry, nullptr); }, target))
            << row.name;
        EXPECT_LT(GetTickCount() - start, 4000u) << row.name;
        EXPECT_EQ(1, matched) << row.name;
        EXPECT_TRUE(target.Running()) << row.name;
    }
}

TEST(CloseMatchingApplications, NothingToCloseIsNoMatch)
{
    EXPECT_EQ(0, nv::CloseMatchingApplications("nvnothing-at-all.exe", nullptr));
    EXPECT_EQ(0, nv::CloseMatchingApplications("'NvNoSuchProperty'", nullptr));
    EXPECT_EQ(0, nv::CloseMatchingApplications("", nullptr));
}

} // namespace
