// The module's version query for named files. The installation conditions ask it with -1 for a
// path, which their rows prove; the other selectors and the module's own cached numbers no
// export reaches.
#include "profile/file_version.h"
#include "harness/module_paths.h"
#include "support/text.h"

#include <gtest/gtest.h>

// The fixture modules have product versions 1.5 and 2.1 and the file version 9.9.9.9.
TEST(FileVersion, ProductVersionUnlessAskedForTheFileVersionAlsoOfLoadedModulesByName)
{
    HMODULE loaded = LoadLibraryA(OutputFile("dlfix_v2_1.dll").c_str());
    const struct {
        int which;
        std::string name;
        const char* expected;
    } rows[] = {
        {1, OutputFile("dlfix_v1_5.dll"), "1.5.0.0"},
        {0, OutputFile("dlfix_v1_5.dll"), "9.9.9.9"},
        {-1, "dlfix_v2_1", "2.1.0.0"},
        {-1, OutputFile("missing.dll"), "<none>"},
    };
    for (const auto& row : rows) {
        int parts[4] = {-1, -1, -1, -1};
        const bool found = nv::GetFileVersion(&parts[0], &parts[1], &parts[2], &parts[3], row.which,
                                              row.name.c_str());
        EXPECT_EQ(row.expected,
                  found ? nv::FormatText("%d.%d.%d.%d", parts[0], parts[1], parts[2], parts[3])
                        : "<none>")
            << row.which << " " << row.name;
    }
    FreeLibrary(loaded);
}
