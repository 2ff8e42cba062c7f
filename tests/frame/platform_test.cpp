// What the module learns about its host at load time, and the host the tests
// rely on (the wrapper's German user locale).
#include "frame/platform.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

TEST(Platform, WineReportsTheNtFamily) { EXPECT_TRUE(IsNtPlatform); }

TEST(Platform, TestsRunUnderAGermanUserLocaleAndCodePage1252)
{
    EXPECT_EQ(0x0407u, GetUserDefaultLCID());
    EXPECT_EQ(1252u, GetACP());
}

} // namespace
