// The module's version query, with its one-entry cache for the module itself.
#include "profile/file_version.h"

#include "harness/module_paths.h"
#include "support/module_app.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Version(int which, const char* name)
{
    int parts[4] = {-1, -1, -1, -1};
    if (!nv::GetFileVersion(&parts[0], &parts[1], &parts[2], &parts[3], which, name))
        return "<none>";
    return std::to_string(parts[0]) + "." + std::to_string(parts[1]) + "." +
           std::to_string(parts[2]) + "." + std::to_string(parts[3]);
}

TEST(FileVersion, NamedFilesGiveProductOrFileVersionBySelector)
{
    const std::string fixture = OutputFile("dlfix_v1_5.dll");
    EXPECT_EQ("1.5.0.0", Version(-1, fixture.c_str()));
    EXPECT_EQ("1.5.0.0", Version(1, fixture.c_str()));
    EXPECT_EQ("9.9.9.9", Version(0, fixture.c_str()));
    EXPECT_EQ("<none>", Version(-1, OutputFile("no_such_file.dll").c_str()));
    int major = 0;
    EXPECT_TRUE(nv::GetFileVersion(&major, nullptr, nullptr, nullptr, -1, fixture.c_str()));
    EXPECT_EQ(1, major);
}

TEST(FileVersion, LoadedModulesAreFoundByName)
{
    HMODULE module = LoadLibraryA(OutputFile("dlfix_v2_1.dll").c_str());
    ASSERT_NE(nullptr, module);
    EXPECT_FALSE(nv::GetModuleVersionInfo("dlfix_v2_1").empty());
    EXPECT_EQ("2.1.0.0", Version(-1, "dlfix_v2_1"));
    FreeLibrary(module);
    EXPECT_TRUE(nv::GetModuleVersionInfo("not_loaded_anywhere").empty());
}

TEST(FileVersion, TheModulesOwnNumbersStayCachedUntilANamedQuery)
{
    HMODULE first = LoadLibraryA(OutputFile("dlfix_v1_5.dll").c_str());
    HMODULE second = LoadLibraryA(OutputFile("dlfix_v2_1.dll").c_str());
    ASSERT_NE(nullptr, first);
    ASSERT_NE(nullptr, second);
    {
        nv::ModuleApp app;
        app.AttachModule(first);
        // The module itself: file version for selector -1.
        EXPECT_EQ("9.9.9.9", Version(-1, nullptr));
        app.AttachModule(second);
        EXPECT_EQ("9.9.9.9", Version(1, nullptr)) << "cached: not loaded again";
        Version(-1, OutputFile("dlfix_v1_5.dll").c_str());
        EXPECT_EQ("2.1.0.0", Version(1, nullptr)) << "a named query ends the cache";
    }
    FreeLibrary(second);
    FreeLibrary(first);
}

} // namespace
