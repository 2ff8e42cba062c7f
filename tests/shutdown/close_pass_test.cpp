// The sends of the methods R and S used to wait without a limit for an
// application that hangs on close.
#include "harness/target_process.h"
#include "shutdown/close_apps.h"
#include "shutdown/close_methods.h"

#include <gtest/gtest.h>

namespace {

TEST(CloseMatchingApplications, SendsToAnApplicationThatHangsOnCloseGiveUp)
{
    for (const char* entry : {"/R1'NvBoundSend'", "/s1'NvBoundSend'"}) {
        TargetProcess target("bound", "hangonclose prop=NvBoundSend");
        int matched = -1;
        ASSERT_TRUE(FinishesWithin(
            20000, [&] { matched = nv::CloseMatchingApplications(entry, nullptr); }, target))
            << entry;
        EXPECT_EQ(1, matched) << entry;
        EXPECT_TRUE(target.Running()) << entry;
    }
}

TEST(SecondsToTimeout, SaturatesBelowInfinite)
{
    EXPECT_EQ(30000u, nv::SecondsToTimeout(30));
    EXPECT_EQ(4294967000u, nv::SecondsToTimeout(4294967));
    EXPECT_EQ(INFINITE - 1, nv::SecondsToTimeout(4294968));
    EXPECT_EQ(INFINITE - 1, nv::SecondsToTimeout(9999999999ULL));
}

} // namespace
