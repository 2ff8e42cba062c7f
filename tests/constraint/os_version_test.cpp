// The running Windows version, set through the values Windows keeps under
// HKLM "Software\Microsoft\Windows NT\CurrentVersion" in the test prefix.
#include "constraint/os_version.h"
#include "harness/registry_sandbox.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

const char kCurrentVersionKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion";
const DWORD kMissing = 0xFFFFFFFF;

TEST(RunningOsVersion, TakesMajorMinorAndBuildFromTheRegistry)
{
    OSVERSIONINFOA platform = {};
    platform.dwOSVersionInfoSize = sizeof(platform);
    ASSERT_TRUE(GetVersionExA(&platform));
    const std::string prefix = std::to_string(platform.dwPlatformId) + ".";
    const std::string platformAnswer = prefix + std::to_string(platform.dwMajorVersion) + "."
                                       + std::to_string(platform.dwMinorVersion);
    const std::string z(1, '\0');
    // `build` is written byte for byte; an empty `expected` is the platform's own answer.
    const struct { const char *name; DWORD major, minor, buildType; std::string build;
                   const char *expected; } rows[] = {
        {"Windows 10", 10, 0, REG_SZ, "19045" + z, "10.0"},
        {"Windows 11 by its first build", 10, 0, REG_SZ, "22000" + z, "11.0"},
        {"last build of Windows 10", 10, 0, REG_SZ, "21999" + z, "10.0"},
        {"build with suffix", 10, 0, REG_SZ, "22631.2861" + z, "11.0"},
        {"build as expandable text", 10, 0, REG_EXPAND_SZ, "22621" + z, "11.0"},
        {"build as number is not read", 10, 0, REG_DWORD, "", "10.0"},
        {"build missing", 10, 0, kMissing, "", "10.0"},
        {"build without terminating zero", 10, 0, REG_SZ, "22000", "10.0"},
        {"build of 256 bytes", 10, 0, REG_SZ, "22000" + std::string(250, ' ') + z, "11.0"},
        {"build over 256 bytes", 10, 0, REG_SZ, "22000" + std::string(251, ' ') + z, "10.0"},
        {"build ignored below 10", 6, 1, REG_SZ, "22000" + z, "6.1"},
        {"major 12 with new build", 12, 4, REG_SZ, "30000" + z, "11.4"},
        {"minor missing", 10, kMissing, kMissing, "", ""},
        {"major missing", kMissing, 3, kMissing, "", ""},
    };
    for (const auto& row : rows) {
        RegistrySandbox sandbox;
        for (const char* name :
             {"CurrentMajorVersionNumber", "CurrentMinorVersionNumber", "CurrentBuild"})
            sandbox.DeleteValue(HKEY_LOCAL_MACHINE, kCurrentVersionKey, name);
        auto set = [&sandbox](const char* name, DWORD value) {
            if (value != kMissing)
                sandbox.SetDword(HKEY_LOCAL_MACHINE, kCurrentVersionKey, name, value);
        };
        set("CurrentMajorVersionNumber", row.major);
        set("CurrentMinorVersionNumber", row.minor);
        set("CurrentBuild", row.buildType == REG_DWORD ? 22032 : kMissing);
        // Only the wide functions store a text without its terminating zero,
        // and only when no zero follows the data given.
        const std::wstring wide = std::wstring(row.build.begin(), row.build.end()) + L'x';
        if (row.buildType == REG_SZ || row.buildType == REG_EXPAND_SZ)
            RegSetKeyValueW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows NT\\CurrentVersion",
                            L"CurrentBuild", row.buildType, wide.data(), 2 * (wide.size() - 1));
        std::string text;
        EXPECT_TRUE(ReadRunningOsVersion(text)) << row.name;
        EXPECT_EQ(*row.expected ? prefix + row.expected : platformAnswer, text) << row.name;
    }
}

} // namespace
