// Profile items against the real registry and private-profile functions.
#include "profile/nv_profile_item.h"

#include "harness/registry_sandbox.h"
#include "harness/temp_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char* const kTestKey = "Software\\NvinfoProfileTest";

struct PathRow {
    const char* name;
    const char* path;
    int location;
    const char* key;
    const char* valueName;
    const char* fullName;
};

TEST(NvProfileItem, ParsesPathsIntoLocationKeyAndValueName)
{
    const std::vector<PathRow> rows = {
        {"registry value", "HKLM\\Software\\A\\B\\Version", 1, "Software\\A\\B", "Version",
         "HKLM\\Software\\A\\B\\Version"},
        {"ini key", "INI\\Setup\\Path", 3, "Setup", "Path", "INI\\Setup\\Path"},
        {"ini with four parts", "INI\\S\\T\\K", 3, "S\\T", "K", "INI\\S\\T\\K"},
        {"root alone", "HKLM", 1, "", "", "HKLM\\"},
        {"current user alone", "HKCU", 2, "", "", "HKCU\\"},
        {"root and value", "HKCU\\Value", 2, "", "Value", "HKCU\\Value"},
        {"empty root is current user", "\\Software\\X", 2, "Software", "X", "HKCU\\Software\\X"},
        {"unknown root", "HKCR\\X\\Y", 0, "X", "Y", "\\X\\Y"},
        {"roots are case-sensitive", "hklm\\X\\Y", 0, "X", "Y", "\\X\\Y"},
        {"null path", nullptr, 2, "", "", "HKCU\\"},
        {"trailing backslash", "HKLM\\Software\\A\\", 1, "Software\\A", "", "HKLM\\Software\\A\\"},
    };
    for (const PathRow& row : rows) {
        CNvProfileString item(row.path, "d", FALSE);
        EXPECT_EQ(row.location, item.m_nLocation) << row.name;
        EXPECT_EQ(row.key, item.m_strKey) << row.name;
        EXPECT_EQ(row.valueName, item.m_strValueName) << row.name;
        EXPECT_EQ(row.fullName, item.GetFullName()) << row.name;
        EXPECT_EQ("d", item.m_strDefault) << row.name;
    }
}

// Reads `path` the way the download layer does; the value, or "<fail:...>".
std::string ReadAbsolute(const std::string& path, const std::string& defaultValue = "")
{
    CNvProfileString item(path.c_str(), defaultValue, FALSE);
    item.SetAbsolute(TRUE);
    if (!item.Read())
        return "<fail:" + item.GetValue() + ">";
    return item.GetValue();
}

TEST(NvProfileItem, ReadsRegistryValuesUpToTheBufferLimit)
{
    RegistrySandbox registry;
    registry.CreateKey(HKEY_CURRENT_USER, kTestKey);
    const std::string key = std::string(kTestKey);
    registry.SetString(HKEY_CURRENT_USER, key, "Text", "abc");
    registry.SetString(HKEY_CURRENT_USER, key, "Empty", "");
    registry.SetString(HKEY_CURRENT_USER, key, "Fits", std::string(1022, 'f'));
    registry.SetString(HKEY_CURRENT_USER, key, "TooLong", std::string(1023, 't'));
    registry.SetDword(HKEY_CURRENT_USER, key, "Number", 0x00636261);
    registry.SetString(HKEY_CURRENT_USER, key, "", "unnamed");
    const std::string base = "HKCU\\" + key + "\\";
    struct Row {
        const char* name;
        std::string path;
        std::string expected;
    } rows[] = {
        {"text", base + "Text", "abc"},
        {"empty value", base + "Empty", ""},
        {"1023 bytes", base + "Fits", std::string(1022, 'f')},
        {"1024 bytes fail with the default", base + "TooLong", "<fail:dflt>"},
        {"type not looked at", base + "Number", "abc"},
        {"missing value", base + "Missing", "<fail:dflt>"},
        {"missing key", "HKCU\\Software\\NvinfoProfileTestMissing\\X", "<fail:dflt>"},
        {"unknown root", "HKCR\\" + key + "\\Text", "<fail:>"},
        {"unnamed value", base, "unnamed"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, ReadAbsolute(row.path, "dflt")) << row.name;
}

TEST(NvProfileItem, RelativeItemsLiveBelowTheOwnersBasePath)
{
    RegistrySandbox registry;
    registry.CreateKey(HKEY_CURRENT_USER, kTestKey);
    registry.SetString(HKEY_CURRENT_USER, kTestKey, "", "base value");
    registry.SetString(HKEY_CURRENT_USER, std::string(kTestKey) + "\\Sub", "V", "sub value");
    CNvProfileMap map(kTestKey);
    auto* root = map.AddItem<CNvProfileString>("HKCU", "", FALSE);
    auto* sub = map.AddItem<CNvProfileString>("HKCU\\Sub\\V", "", FALSE);
    EXPECT_EQ(&map, root->m_pOwner);
    EXPECT_EQ(kTestKey, root->GetBasePath());
    EXPECT_TRUE(root->Read());
    EXPECT_EQ("base value", root->GetValue());
    EXPECT_TRUE(sub->Read());
    EXPECT_EQ("sub value", sub->GetValue());
    CNvProfileString unowned("HKCU\\X", "", FALSE);
    EXPECT_EQ("nvinfo", unowned.GetBasePath());
    CNvProfileString ini("INI\\S\\K", "", FALSE);
    EXPECT_EQ("nvinfo.INI", ini.GetBasePath());
}

TEST(NvProfileItem, WritesRegistryValuesCreatingTheKey)
{
    RegistrySandbox registry;
    registry.CreateKey(HKEY_CURRENT_USER, kTestKey);
    const std::string path = "HKCU\\" + std::string(kTestKey) + "\\New\\Deeper\\Value";
    CNvProfileString item(path.c_str(), "", FALSE);
    item.SetAbsolute(TRUE);
    item.SetValue("written");
    EXPECT_TRUE(item.Write());
    EXPECT_EQ("written", ReadAbsolute(path));
    CNvProfileString none("HKCR\\X\\Y", "", FALSE);
    none.SetValue("x");
    EXPECT_FALSE(none.Write());
}

TEST(NvProfileItem, AutoReadReadsAgainOnEveryGet)
{
    RegistrySandbox registry;
    registry.CreateKey(HKEY_CURRENT_USER, kTestKey);
    registry.SetString(HKEY_CURRENT_USER, kTestKey, "Live", "one");
    const std::string path = "HKCU\\" + std::string(kTestKey) + "\\Live";
    CNvProfileString automatic(path.c_str(), "", TRUE);
    CNvProfileString manual(path.c_str(), "", FALSE);
    automatic.SetAbsolute(TRUE);
    manual.SetAbsolute(TRUE);
    manual.Read();
    EXPECT_EQ("one", automatic.GetValue());
    registry.SetString(HKEY_CURRENT_USER, kTestKey, "Live", "two");
    EXPECT_EQ("two", automatic.GetValue());
    EXPECT_EQ("one", manual.GetValue());
}

TEST(NvProfileItem, IniItemsReadAndWriteTheOwnersFile)
{
    TempFolder folder;
    std::string file = folder.Write("profile.ini", "[S]\nK=value\nQ=\"quoted\"\nE=\n");
    CNvProfileMap map(file);
    auto* four = map.AddItem<CNvProfileString>("INI\\S\\T\\K", "", FALSE);
    auto* quoted = map.AddItem<CNvProfileString>("INI\\S\\Q", "", FALSE);
    auto* missing = map.AddItem<CNvProfileString>("INI\\S\\Missing", "", FALSE);
    auto* missingWithDefault = map.AddItem<CNvProfileString>("INI\\S\\Other", "dflt", FALSE);
    auto* empty = map.AddItem<CNvProfileString>("INI\\S\\E", "", FALSE);
    EXPECT_TRUE(four->Read());
    EXPECT_EQ("value", four->GetValue());
    EXPECT_TRUE(quoted->Read());
    EXPECT_EQ("quoted", quoted->GetValue());
    EXPECT_FALSE(missing->Read());
    EXPECT_TRUE(missingWithDefault->Read());
    EXPECT_EQ("dflt", missingWithDefault->GetValue());
    EXPECT_FALSE(empty->Read());

    auto* target = map.AddItem<CNvProfileString>("INI\\New\\Key", "", FALSE);
    target->SetValue("42");
    EXPECT_TRUE(target->Write());
    char buffer[16] = {};
    GetPrivateProfileStringA("New", "Key", "", buffer, sizeof buffer, file.c_str());
    EXPECT_STREQ("42", buffer);
}

TEST(NvProfileItem, TheBaseItemReadsAndWritesNothing)
{
    CNvProfileItem item;
    item.Init("HKCU\\Software\\X", FALSE);
    EXPECT_FALSE(item.Read());
    EXPECT_FALSE(item.Write());
}

} // namespace
