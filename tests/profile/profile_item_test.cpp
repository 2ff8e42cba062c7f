// Profile items: where a path puts a setting, and reading and writing it there.
#include "profile/nv_profile_item.h"
#include "harness/registry_sandbox.h"
#include "harness/temp_folder.h"

#include <gtest/gtest.h>

// The full name shows what the path was taken for: root (none for an unknown one), key, value.
TEST(ProfileItem, PathNamesTheRootTheKeyAndTheValue)
{
    const struct {
        const char *path, *fullName;
    } rows[] = {
        {R"(HKLM\Software\A\B\Version)", R"(HKLM\Software\A\B\Version)"},
        {R"(INI\S\T\K)", R"(INI\S\T\K)"},
        {R"(HKCR\Software\V)", R"(\Software\V)"},
        {R"(hkcu\V)", R"(\V)"},
        {R"(\Software\V)", R"(HKCU\Software\V)"},
        {"HKLM", R"(HKLM\)"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.fullName, CNvProfileString(row.path, "", FALSE).GetFullName()) << row.path;
}

// Items added to a map resolve their key paths below the map's base path, or for INI items read
// and write the file the base path names.
TEST(ProfileItem, ReadsAndWritesBelowTheOwnersBasePath)
{
    const std::string base = R"(Software\NvProfileItemTest)";
    RegistrySandbox registry;
    registry.Set(HKEY_LOCAL_MACHINE, base, "", "the base key's own value");
    registry.Set(HKEY_LOCAL_MACHINE, base + R"(\Sub)", "V", "below the base");
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
        {R"(HKLM\Sub\V)", registryItems, TRUE, "below the base"},
        {R"(HKCU\Sub\V)", registryItems, FALSE, "default"},
        {R"(HKCR\Sub\V)", registryItems, FALSE, ""},
        {R"(INI\S\T\K)", iniItems, TRUE, "in S"},
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
        {R"(HKCU\New\Key\W)", registryItems, true},
        {R"(INI\W\T\K)", iniItems, true},
        {R"(HKCR\W)", registryItems, false},
    };
    for (const auto& row : writes) {
        auto* item = row.owner.AddItem<CNvProfileString>(row.path, "", FALSE);
        item->SetValue("written");
        EXPECT_EQ(row.written, item->Write() != FALSE) << row.path;
    }
    char text[16] = {};
    DWORD size = sizeof text;
    EXPECT_EQ(ERROR_SUCCESS, RegGetValueA(HKEY_CURRENT_USER, (base + R"(\New\Key)").c_str(), "W",
                                          RRF_RT_REG_SZ | RRF_NOEXPAND, nullptr, text, &size))
        << "a string value in the keys the write created";
    EXPECT_STREQ("written", text);
    GetPrivateProfileStringA("W", "K", "", text, sizeof text, iniItems.m_strBasePath.c_str());
    EXPECT_STREQ("written", text);
}
