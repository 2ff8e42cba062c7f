#include "constraint/os_version.h"

#include "support/text.h"

#include <windows.h>

#include <cstdlib>

namespace nv {

namespace {

struct OsVersionName {
    const char* name;
    const char* versionText;
};

const OsVersionName kOsVersionNames[] = {
    {"win11", "2.11.0"}, {"win10", "2.10.0"},  {"win8", "2.6.2"},   {"win7", "2.6.1"},
    {"vista", "2.6.0"},  {"win2003", "2.5.2"}, {"winxp", "2.5.1"},  {"win2000", "2.5.0"},
    {"winnt", "2.4.0"},  {"winme", "1.4.90"},  {"win98", "1.4.10"},
};

// Windows 11 still reports major version 10; only its build number tells.
const int kFirstWindows11Build = 22000;

bool ReadDword(HKEY key, const char* name, DWORD& value)
{
    DWORD type = 0;
    DWORD data = 0;
    DWORD size = sizeof(data);
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(data))
        return false;
    value = data;
    return true;
}

bool ReadBuildNumber(HKEY key, int& build)
{
    char text[256] = {};
    DWORD type = 0;
    DWORD size = sizeof(text);
    if (RegQueryValueExA(key, "CurrentBuild", nullptr, &type, reinterpret_cast<BYTE*>(text),
                         &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ) || size > sizeof(text))
        return false;
    // Registry strings need not be terminated; an unterminated one is not trusted.
    if (size > 0 && text[size - 1] != '\0')
        return false;
    build = std::atoi(text);
    return true;
}

// Since Windows 8.1, GetVersionEx answers 6.2 to every program without a
// compatibility manifest; the registry still holds the true numbers.
void CorrectFromRegistry(DWORD& major, DWORD& minor)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows NT\\CurrentVersion", 0,
                      KEY_READ, &key) != ERROR_SUCCESS)
        return;
    DWORD registryMajor = 0;
    DWORD registryMinor = 0;
    if (ReadDword(key, "CurrentMajorVersionNumber", registryMajor) &&
        ReadDword(key, "CurrentMinorVersionNumber", registryMinor)) {
        major = registryMajor;
        minor = registryMinor;
    }
    int build = 0;
    if (major >= 10 && ReadBuildNumber(key, build) && build >= kFirstWindows11Build)
        major = 11;
    RegCloseKey(key);
}

} // namespace

bool ReadRunningOsVersion(std::string& versionText)
{
    OSVERSIONINFOEXA info = {};
    info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXA);
    if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) {
        // Systems before NT 4.0 SP6 know only the short structure.
        info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
        if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info)))
            return false;
    }
    DWORD major = info.dwMajorVersion;
    DWORD minor = info.dwMinorVersion;
    CorrectFromRegistry(major, minor);
    versionText = nv::FormatText("%lu.%lu.%lu", info.dwPlatformId, major, minor);
    return true;
}

std::string OsVersionNameToText(const std::string& name)
{
    std::string lower = nv::ToLower(name);
    for (const OsVersionName& entry : kOsVersionNames) {
        if (lower == entry.name)
            return entry.versionText;
    }
    return lower;
}

} // namespace nv
