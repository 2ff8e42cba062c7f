// Profile items: where a path puts a setting, and reading and writing it there.
#include "profile/nv_profile_item.h"
#include "harness/registry_sandbox.h"
#include "harness/temp_folder.h"

#include <gtest/gtest.h>

TEST(ProfileItem, PathNamesTheRootTheKeyAndTheValue)
{
    const struct {
        const char *path, *key, *valueName, *fullName;
        int location;
    } rows[] = {
        {"HKLM\\Software\\A\\B\\Version", "Software\\A\\B", "Version",
         "HKLM\\Software\\A\\B\\Version", CNvProfileItem::kLocationHklm},
        {"INI\\S\\T\\K", "S\\T", "K", "INI\\S\\T\\K", CNvProfileItem::kLocationIni},
        {"HKCR\\Software\\V", "Software", "V", "\\Software\\V", CNvProfileItem::kLocationNone},
        {"hkcu\\V", "", "V", "\\V", CNvProfileItem::kLocationNone},
        {"\\Software\\V", "Software", "V", "HKCU\\Software\\V", CNvProfileItem::kLocationHkcu},
        {"HKLM", "", "", "HKLM\\", CNvProfileItem::kLocationHklm},
    };
    for (const auto& row : rows) {
        CNvProfileString item(row.path, "", FALSE);
        EXPECT_EQ(row.location, item.m_nLocation) << row.path;
        EXPECT_EQ(row.key, item.m_strKey) << row.path;
        EXPECT_EQ(row.valueName, item.m_strValueName) << row.path;
        EXPECT_EQ(row.fullName, item.GetFullName()) << row.path;
    }
}

// Items added to a map resolve their key paths below the map's base path, or for INI items read
// and write the file the base path names.
TEST(ProfileItem, ReadsAndWritesBelowTheOwnersBasePath)
{
    const std::string base = "Software\\NvProfileItemTest";
    RegistrySandbox registry;
    registry.SetString(HKEY_LOCAL_MACHINE, base, "", "the base key's own value");
    registry.SetString(HKEY_LOCAL_MACHINE, base + "\\Sub", "V", "below the base");
    registry.CreateKey(HKEY_CURRENT_USER, base);
    TempFolder folder;
    CNvProfileMap registryItems(base), iniItems(folder.Write("items.ini", "[S]\nK=in S\n"));
    const struct {
        const char* path;
        CNvProfileMap& owner;
        BOOL read;
        const char* value;
    } reads[] = {
        {"HKLM", registryItems, TRUE, "the base key's own value"},
        {"HKLM\\Sub\\V", registryItems, TRUE, "below the base"},
        {"HKCU\\Sub\\V", registryItems, FALSE, "default"},
        {"HKCR\\Sub\\V", registryItems, FALSE, ""},
        {"INI\\S\\T\\K", iniItems, TRUE, "in S"},
    };
    for (const auto& row : reads) {
        auto* item = row.owner.AddItem<CNvProfileString>(row.path, "default", FALSE);
        EXPECT_EQ(row.read, item->Read()) << row.path;
        EXPECT_EQ(row.value, item->GetValue()) << row.path;
    }
    const struct {
        const char* path;
        CNvProfileMap& owner;
        bool written;
    } writes[] = {
        {"HKCU\\New\\Key\\W", registryItems, true},
        {"INI\\W\\T\\K", iniItems, true},
        {"HKCR\\W", registryItems, false},
    };
    for (const auto& row : writes) {
        auto* item = row.owner.AddItem<CNvProfileString>(row.path, "", FALSE);
        item->SetValue("written");
        EXPECT_EQ(row.written, item->Write() != FALSE) << row.path;
    }
    CNvProfileString written(("HKCU\\" + base + "\\New\\Key\\W").c_str(), "", FALSE);
    written.SetAbsolute(TRUE);
    EXPECT_TRUE(written.Read());
    EXPECT_EQ("written", written.GetValue()) << "the missing keys were created";
    char text[16] = {};
    GetPrivateProfileStringA("W", "K", "", text, sizeof text, iniItems.m_strBasePath.c_str());
    EXPECT_STREQ("written", text);
}
