// The module's version query, with its one-entry cache for the module itself.
#include "profile/file_version.h"
#include "harness/module_paths.h"
#include "support/module_app.h"
#include "support/text.h"

#include <gtest/gtest.h>

static std::string Version(int which, const char* name)
{
    int parts[4] = {-1, -1, -1, -1};
    if (!nv::GetFileVersion(&parts[0], &parts[1], &parts[2], &parts[3], which, name))
        return "<none>";
    return nv::FormatText("%d.%d.%d.%d", parts[0], parts[1], parts[2], parts[3]);
}

TEST(FileVersion, NamedFilesLoadedModulesAndTheModulesOwnCache)
{
    const std::string v15 = OutputFile("dlfix_v1_5.dll");
    EXPECT_EQ("1.5.0.0 1.5.0.0 9.9.9.9 <none>",
              Version(-1, v15.c_str()) + " " + Version(1, v15.c_str()) + " " + Version(0, v15.c_str()) +
                  " " + Version(-1, OutputFile("no_such_file.dll").c_str()))
        << "product version for -1 and 1, file version for 0";
    HMODULE first = LoadLibraryA(v15.c_str());
    HMODULE second = LoadLibraryA(OutputFile("dlfix_v2_1.dll").c_str());
    ASSERT_TRUE(first && second);
    EXPECT_EQ("2.1.0.0", Version(-1, "dlfix_v2_1")) << "a loaded module by its name";
    {
        nv::ModuleApp app;
        app.AttachModule(first);
        EXPECT_EQ("9.9.9.9", Version(-1, nullptr)) << "the module itself: file version for -1";
        app.AttachModule(second);
        EXPECT_EQ("9.9.9.9", Version(1, nullptr)) << "cached: not loaded again";
        Version(-1, v15.c_str());
        EXPECT_EQ("9.9.9.9", Version(1, nullptr)) << "a named query leaves the module's numbers";
    }
    FreeLibrary(second);
    FreeLibrary(first);
}
