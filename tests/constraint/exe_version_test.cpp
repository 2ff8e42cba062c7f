// Product versions read from real version resources of fixture modules built
// beside the tests.
#include "constraint/exe_version.h"
#include "harness/module_paths.h"
#include "harness/temp_folder.h"

#include <gtest/gtest.h>

namespace {

struct FileRow {
    const char* name;
    std::string path;
    const char* version;
};

TEST(ExeVersion, ReadsTheProductVersionOfTheResource)
{
    TempFolder folder;
    const FileRow rows[] = {
        {"file version 3.0 and product version 2.5", OutputFile("verfix_product_differs.dll"),
         "2.5.0.0"},
        {"all four parts in order", OutputFile("verfix_all_parts.dll"), "65535.7.19041.3"},
        {"module without version resource", OutputFile("verfix_unversioned.dll"), "0.0.0.0"},
        {"missing file", folder.File("not-there.exe"), "0.0.0.0"},
        {"missing folder", folder.File("gone\\deeper\\app.exe"), "0.0.0.0"},
        {"plain text file", folder.Write("readme.exe", "not a module"), "0.0.0.0"},
        {"empty file", folder.Write("empty.dll", ""), "0.0.0.0"},
        {"empty path", "", "0.0.0.0"},
        {"path longer than MAX_PATH", std::string(600, 'a') + ".exe", "0.0.0.0"},
    };
    for (const FileRow& row : rows) {
        CExeVersion version(row.path);
        EXPECT_EQ(row.version, version.GetVersion().Text()) << row.name;
        EXPECT_EQ(row.path, version.Path()) << row.name;
    }
}

} // namespace
