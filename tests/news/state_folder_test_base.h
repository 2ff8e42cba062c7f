// Computing a state path creates the state folder chain under APPDATA; it is
// the user's, and goes again only when a test made it.
#pragma once

#include "harness/temp_folder.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

inline std::string AppDataFolder()
{
    char path[MAX_PATH] = {};
    EXPECT_TRUE(SHGetSpecialFolderPathA(nullptr, path, CSIDL_APPDATA, TRUE));
    return path;
}

class StateFolderTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (!m_rootExisted)
            RemoveTree(m_root);
    }

    const std::string m_root = AppDataFolder() + "\\Norvane";
    const bool m_rootExisted = FileExists(m_root);
};
