// Profile items: path syntax, and registry reads against the real registry.
#include "profile/nv_profile_item.h"

#include "harness/registry_sandbox.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char* const kTestKey = "Software\\NvinfoProfileTest";

TEST(NvProfileItem, ParsesPathsIntoLocationKeyAndValueName)
{
    const struct {
        const char* path;
        const char* expected;  // location|key|value name|full name
    } rows[] = {
        {"HKLM\\Software\\A\\B\\Version", "1|Software\\A\\B|Version|HKLM\\Software\\A\\B\\Version"},
        {"INI\\S\\T\\K", "3|S\\T|K|INI\\S\\T\\K"}, {"HKLM", "1|||HKLM\\"},
        {"\\Software\\X", "2|Software|X|HKCU\\Software\\X"}, {"HKCR\\X\\Y", "0|X|Y|\\X\\Y"},
        {"hklm\\X\\Y", "0|X|Y|\\X\\Y"}, {nullptr, "2|||HKCU\\"},
        {"HKLM\\Software\\A\\", "1|Software\\A||HKLM\\Software\\A\\"},
    };
    for (const auto& row : rows) {
        CNvProfileString item(row.path, "d", FALSE);
        EXPECT_EQ(row.expected, std::to_string(item.m_nLocation) + "|" + item.m_strKey + "|" +
                                    item.m_strValueName + "|" + item.GetFullName())
            << (row.path ? row.path : "<null>");
    }
}

TEST(NvProfileItem, ReadsRegistryValuesUpToTheBufferLimit)
{
    RegistrySandbox registry;
    registry.CreateKey(HKEY_CURRENT_USER, kTestKey);
    registry.SetString(HKEY_CURRENT_USER, kTestKey, "Text", "abc");
    registry.SetString(HKEY_CURRENT_USER, kTestKey, "Fits", std::string(1022, 'f'));
    registry.SetString(HKEY_CURRENT_USER, kTestKey, "TooLong", std::string(1023, 't'));
    registry.SetDword(HKEY_CURRENT_USER, kTestKey, "Number", 0x00636261);
    registry.SetString(HKEY_CURRENT_USER, kTestKey, "", "unnamed");
    const std::string base = "HKCU\\" + std::string(kTestKey) + "\\";
    const struct {
        const char* name;
        std::string path;
        std::string expected;
    } rows[] = {
        {"text", base + "Text", "abc"}, {"1023 bytes", base + "Fits", std::string(1022, 'f')},
        {"1024 bytes fail with the default", base + "TooLong", "<fail:dflt>"},
        {"type not looked at", base + "Number", "abc"},
        {"missing value", base + "Missing", "<fail:dflt>"},
        {"unknown root", "HKCR\\" + std::string(kTestKey) + "\\Text", "<fail:>"},
        {"unnamed value", base, "unnamed"},
    };
    for (const auto& row : rows) {
        CNvProfileString item(row.path.c_str(), "dflt", FALSE);
        item.SetAbsolute(TRUE);
        EXPECT_EQ(row.expected, item.Read() ? item.GetValue() : "<fail:" + item.GetValue() + ">")
            << row.name;
    }
}

} // namespace
