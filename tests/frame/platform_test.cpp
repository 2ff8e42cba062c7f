// What the module learns about its host at load time.
#include "frame/platform.h"
#include <gtest/gtest.h>
TEST(Platform, WineReportsTheNtFamily) { EXPECT_TRUE(nv::IsNtPlatform); }
