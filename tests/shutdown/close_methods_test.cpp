// Seconds beyond a DWORD of milliseconds must not wrap into a short (or infinite) wait.
#include "shutdown/close_methods.h"

#include <gtest/gtest.h>

TEST(SecondsToTimeout, SaturatesBelowInfinite)
{
    EXPECT_EQ(30000u, nv::SecondsToTimeout(30));
    EXPECT_EQ(4294967000u, nv::SecondsToTimeout(4294967));
    EXPECT_EQ(INFINITE - 1, nv::SecondsToTimeout(4294968));
}
