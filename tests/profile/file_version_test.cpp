// The module's version query, with its one-entry cache for the module itself.
#include "profile/file_version.h"
#include "harness/module_paths.h"
#include "support/module_app.h"
#include "support/text.h"

#include <gtest/gtest.h>

static std::string Version(int which, const std::string& name)
{
    int parts[4] = {-1, -1, -1, -1};
    if (!nv::GetFileVersion(&parts[0], &parts[1], &parts[2], &parts[3], which,
                            name.empty() ? nullptr : name.c_str()))
        return "<none>";
    return nv::FormatText("%d.%d.%d.%d", parts[0], parts[1], parts[2], parts[3]);
}

// The fixture module has product version 1.5 and file version 9.9.9.9.
TEST(FileVersion, NamedFilesGiveTheProductVersionUnlessAskedForTheFileVersion)
{
    const std::string v15 = OutputFile("dlfix_v1_5.dll");
    const struct {
        const char* name;
        int which;
        std::string file;
        const char* expected;
    } rows[] = {
        {"1 is the product version", 1, v15, "1.5.0.0"},
        {"0 is the file version", 0, v15, "9.9.9.9"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.expected, Version(row.which, row.file)) << row.name;
}

TEST(FileVersion, LoadedModulesByNameAndTheModulesOwnCachedNumbers)
{
    HMODULE first = LoadLibraryA(OutputFile("dlfix_v1_5.dll").c_str());
    HMODULE second = LoadLibraryA(OutputFile("dlfix_v2_1.dll").c_str());
    ASSERT_TRUE(first && second);
    EXPECT_EQ("2.1.0.0", Version(-1, "dlfix_v2_1")) << "a loaded module by its name";
    {
        nv::ModuleApp app;
        app.AttachModule(first);
        EXPECT_EQ("9.9.9.9", Version(-1, "")) << "the module itself: file version for -1";
        app.AttachModule(second);
        EXPECT_EQ("9.9.9.9", Version(1, "")) << "cached: not loaded again";
        Version(-1, OutputFile("dlfix_v1_5.dll"));
        EXPECT_EQ("9.9.9.9", Version(1, "")) << "a named query leaves the module's numbers";
    }
    FreeLibrary(second);
    FreeLibrary(first);
}
