// The running Windows version, set through the values Windows keeps under
// HKLM "Software\Microsoft\Windows NT\CurrentVersion" in the test prefix.
#include "constraint/os_version.h"
#include "harness/registry_sandbox.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <utility>

namespace {

const char kCurrentVersionKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion";
const DWORD kMissing = 0xFFFFFFFF;

TEST(RunningOsVersion, TakesMajorMinorAndBuildFromTheRegistry)
{
    OSVERSIONINFOA platform = {};
    platform.dwOSVersionInfoSize = sizeof(platform);
    ASSERT_TRUE(GetVersionExA(&platform));
    const std::string prefix = std::to_string(platform.dwPlatformId) + ".";
    const std::string platformAnswer = prefix + std::to_string(platform.dwMajorVersion) + "." +
                                       std::to_string(platform.dwMinorVersion);
    const std::string z(1, '\0');
    // `build` is written byte for byte; an empty `expected` is the platform's own answer.
    const struct {
        const char* name;
        DWORD major, minor, buildType;
        std::string build;
        const char* expected;
    } rows[] = {
        {"Windows 11 by its first build", 10, 0, REG_SZ, "22000" + z, "11.0"},
        {"last build of Windows 10", 10, 0, REG_SZ, "21999" + z, "10.0"},
        {"expandable build with suffix", 10, 0, REG_EXPAND_SZ, "22631.2861" + z, "11.0"},
        {"build as number is not read", 10, 0, REG_DWORD, "", "10.0"},
        {"build without terminating zero", 10, 0, REG_SZ, "22000", "10.0"},
        {"build of 256 bytes", 10, 0, REG_SZ, "22000" + std::string(250, ' ') + z, "11.0"},
        {"build over 256 bytes", 10, 0, REG_SZ, "22000" + std::string(251, ' ') + z, "10.0"},
        {"build ignored below 10", 6, 1, REG_SZ, "22000" + z, "6.1"},
        {"minor missing", 10, kMissing, kMissing, "", ""},
    };
    for (const auto& row : rows) {
        RegistrySandbox sandbox;
        const std::pair<const char*, DWORD> numbers[] = {
            {"CurrentMajorVersionNumber", row.major},
            {"CurrentMinorVersionNumber", row.minor},
            {"CurrentBuild", row.buildType == REG_DWORD ? 22032 : kMissing}};
        for (const auto& [name, value] : numbers)
            value == kMissing ? sandbox.DeleteValue(HKEY_LOCAL_MACHINE, kCurrentVersionKey, name)
                              : sandbox.Set(HKEY_LOCAL_MACHINE, kCurrentVersionKey, name,
                                            DwordData(value), REG_DWORD);
        // Only the wide functions store a text without its terminating zero,
        // and only when no zero follows the data given.
        const std::wstring wide = std::wstring(row.build.begin(), row.build.end()) + L'x';
        if (row.buildType == REG_SZ || row.buildType == REG_EXPAND_SZ)
            RegSetKeyValueW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows NT\\CurrentVersion",
                            L"CurrentBuild", row.buildType, wide.data(), 2 * (wide.size() - 1));
        std::string text;
        EXPECT_TRUE(nv::ReadRunningOsVersion(text)) << row.name;
        EXPECT_EQ(*row.expected ? prefix + row.expected : platformAnswer, text) << row.name;
    }
}

} // namespace
