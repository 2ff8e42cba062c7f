// The running Windows version, set through the values Windows keeps under
// HKLM "Software\Microsoft\Windows NT\CurrentVersion" in the test prefix.
#include "constraint/os_version.h"
#include "constraint/windows_version_values.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

// What GetVersionExA itself answers, before any registry correction.
OSVERSIONINFOA PlatformAnswer()
{
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    EXPECT_TRUE(GetVersionExA(&info));
    return info;
}

std::string PlatformPrefix()
{
    return std::to_string(PlatformAnswer().dwPlatformId) + ".";
}

std::string PlatformText(DWORD major, DWORD minor)
{
    return PlatformPrefix() + std::to_string(major) + "." + std::to_string(minor);
}

std::string RunningVersion()
{
    std::string text = "untouched";
    EXPECT_TRUE(ReadRunningOsVersion(text));
    return text;
}

struct RegistryRow {
    const char* name;
    DWORD major;
    DWORD minor;
    DWORD buildType;
    std::string build;
    const char* expectedMajorMinor;
};

std::string Terminated(const std::string& text)
{
    return text + std::string(1, '\0');
}

TEST(RunningOsVersion, TakesMajorMinorAndBuildFromTheRegistry)
{
    const std::string longBuild = Terminated("22000" + std::string(251, ' '));
    const RegistryRow rows[] = {
        {"Windows 10", 10, 0, REG_SZ, Terminated("19045"), "10.0"},
        {"Windows 11 first build", 10, 0, REG_SZ, Terminated("22000"), "11.0"},
        {"last build of Windows 10", 10, 0, REG_SZ, Terminated("21999"), "10.0"},
        {"build with suffix", 10, 0, REG_SZ, Terminated("22631.2861"), "11.0"},
        {"build as expandable text", 10, 0, REG_EXPAND_SZ, Terminated("22621"), "11.0"},
        {"build as number is not read", 10, 0, REG_DWORD, std::string("\x10\x56\x00\x00", 4), "10.0"},
        {"empty build", 10, 0, REG_SZ, "", "10.0"},
        {"build of 256 bytes", 10, 0, REG_SZ, Terminated("22000" + std::string(250, ' ')), "11.0"},
        {"build over 256 bytes", 10, 0, REG_SZ, longBuild, "10.0"},
        {"build missing", 10, 0, kValueMissing, "", "10.0"},
        {"build ignored below 10", 6, 1, REG_SZ, Terminated("22000"), "6.1"},
        {"Windows 8.1", 6, 3, kValueMissing, "", "6.3"},
        {"major 12 with new build", 12, 4, REG_SZ, Terminated("30000"), "11.4"},
    };
    for (const RegistryRow& row : rows) {
        RegistrySandbox sandbox;
        SetWindowsVersionValues(sandbox, row.major, row.minor, row.buildType, row.build);
        EXPECT_EQ(PlatformPrefix() + row.expectedMajorMinor, RunningVersion())
            << row.name;
    }
}

TEST(RunningOsVersion, KeepsThePlatformAnswerWithoutBothRegistryNumbers)
{
    OSVERSIONINFOA platform = PlatformAnswer();
    // Only when both numbers are read do they replace the platform's.
    const RegistryRow rows[] = {
        {"both missing", kValueMissing, kValueMissing, kValueMissing, "", ""},
        {"minor missing", 10, kValueMissing, kValueMissing, "", ""},
        {"major missing", kValueMissing, 3, kValueMissing, "", ""},
    };
    for (const RegistryRow& row : rows) {
        RegistrySandbox sandbox;
        SetWindowsVersionValues(sandbox, row.major, row.minor, row.buildType, row.build);
        EXPECT_EQ(PlatformText(platform.dwMajorVersion, platform.dwMinorVersion), RunningVersion())
            << row.name;
    }
    RegistrySandbox sandbox;
    SetWindowsVersionValues(sandbox, 10, 0, kValueMissing, "");
    sandbox.SetString(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows NT\\CurrentVersion",
                      "CurrentMajorVersionNumber", "10");
    EXPECT_EQ(PlatformText(platform.dwMajorVersion, platform.dwMinorVersion), RunningVersion())
        << "major as text";
}

// Registry text need not end in a zero; the ANSI functions cannot store such
// a value, the wide ones can.
TEST(RunningOsVersion, IgnoresABuildTextWithoutTerminatingZero)
{
    RegistrySandbox sandbox;
    SetWindowsVersion(sandbox, 10, 0, "19045");
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE,
                                           L"Software\\Microsoft\\Windows NT\\CurrentVersion", 0,
                                           KEY_SET_VALUE, &key));
    const wchar_t build[] = {L'2', L'2', L'0', L'0', L'0'};
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExW(key, L"CurrentBuild", 0, REG_SZ,
                                            reinterpret_cast<const BYTE*>(build), sizeof(build)));
    RegCloseKey(key);
    EXPECT_EQ(PlatformPrefix() + "10.0", RunningVersion());
}

struct NameRow {
    const char* name;
    const char* versionText;
};

TEST(OsVersionName, MapsTheSuitesWindowsNamesWithoutRegardToCase)
{
    const NameRow rows[] = {
        {"win11", "2.11.0"}, {"win10", "2.10.0"},  {"WIN10", "2.10.0"},  {"Win8", "2.6.2"},
        {"win7", "2.6.1"},   {"Vista", "2.6.0"},   {"win2003", "2.5.2"}, {"WinXP", "2.5.1"},
        {"win2000", "2.5.0"}, {"winnt", "2.4.0"},  {"winme", "1.4.90"},  {"WIN98", "1.4.10"},
        // Not in the table: used as written, lower-cased.
        {"2.6.1", "2.6.1"},  {"Win12", "win12"},   {"win 10", "win 10"}, {"", ""},
        {"win10 ", "win10 "},
    };
    for (const NameRow& row : rows)
        EXPECT_EQ(row.versionText, OsVersionNameToText(row.name)) << row.name;
}

} // namespace
