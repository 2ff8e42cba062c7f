// Profile items: where a path puts a setting, and reading and writing it there.
#include "profile/nv_profile_item.h"
#include "harness/registry_sandbox.h"

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

// Items added to a map resolve their key paths below the map's base path, as the product
// enumeration reads them; INI items in a map and writing no export uses.
TEST(ProfileItem, ReadsBelowTheOwnersBasePath)
{
    const std::string base = R"(Software\NvProfileItemTest)";
    RegistrySandbox registry;
    registry.Set(HKEY_LOCAL_MACHINE, base, "", "the base key's own value");
    registry.Set(HKEY_LOCAL_MACHINE, base + R"(\Sub)", "V", "below the base");
    CNvProfileMap registryItems(base);
    const struct {
        const char* path;
        BOOL read;
        const char* value;
    } reads[] = {
        {"HKLM", TRUE, "the base key's own value"},
        {R"(HKLM\Sub\V)", TRUE, "below the base"},
        {R"(HKLM\Sub\Missing)", FALSE, "default"},
    };
    for (const auto& row : reads) {
        auto* item = registryItems.AddItem<CNvProfileString>(row.path, "default", FALSE);
        EXPECT_EQ(row.read, item->Read()) << row.path;
        EXPECT_EQ(row.value, item->GetValue()) << row.path;
    }
}
