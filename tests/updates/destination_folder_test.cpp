// Destination folders of update list entries, from every form of the
// "Destination" value.
#include "download/download_item.h"
#include "harness/registry_sandbox.h"
#include "harness/temp_folder.h"
#include "support/text.h"
#include "updates/destination_folder.h"

#include <gtest/gtest.h>

namespace {

TEST(DestinationFolder, FolderOfTheNdcFileEndsAtTheLaterSeparator)
{
    const struct {
        const char* path;
        const char* folder;
    } rows[] = {
        {"d:\\data\\prod.ndc", "d:\\data"}, {"c:/a/b.ndc", "c:/a"},
        {"c:\\a/b\\c.ndc", "c:\\a/b"},      {"c:\\a\\b/c.ndc", "c:\\a\\b"},
        {"prod.ndc", ""},                   {"", ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.folder, FolderOfNdcFile(row.path)) << row.path;
}

TEST(DestinationFolder, RegistryAndWindowsForms)
{
    TempFolder temp;
    RegistrySandbox registry;
    const char* const key = "Software\\NvMergeTest\\Destination";
    registry.SetString(HKEY_CURRENT_USER, key, "Bare", "Tool.exe");
    registry.SetString(HKEY_CURRENT_USER, key, "Program", temp.File("Prog\\TOOL.EXE"));
    registry.SetString(HKEY_CURRENT_USER, key, "Data", temp.File("Data"));
    CreateDirectoryA(temp.File("Prog").c_str(), nullptr);
    const std::string folder = nv::ToLower(temp.Path());
    char system[MAX_PATH] = {0};
    GetSystemDirectoryA(system, MAX_PATH);

    const struct {
        const char* name;
        std::string destination;
        std::string expected;
        bool created;
    } rows[] = {
        {"program without folder", "/RHKCU\\Software\\NvMergeTest\\Destination\\Bare", folder,
         true},
        {"program, empty subfolder", "-RHKCU\\Software\\NvMergeTest\\Destination\\Program;",
         folder + "\\prog\\", true},
        {"folder and subfolder", "_rHKCU\\Software\\NvMergeTest\\Destination\\Data;Sub",
         folder + "\\data\\Sub", false},
        {"system, lower-case marker", "-s", system, true},
        {"plain folder", temp.File("Apps"), temp.File("Apps"), true},
        {"plain folder, missing parent", temp.File("No\\Deeper"), temp.File("No\\Deeper"), false},
    };
    for (const auto& row : rows) {
        CDownloadItem item;
        item.m_strDestination = row.destination;
        item.m_strNdcFile = folder + "\\prod.ndc";
        EXPECT_EQ(row.expected, ResolveDestinationFolder(item)) << row.name;
        EXPECT_EQ(row.created, FileExists(row.expected)) << row.name;
    }
}

} // namespace
