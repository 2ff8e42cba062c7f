#include "constraint/windows_version_values.h"

#include <vector>

namespace {

const char kCurrentVersionKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion";

void SetOrDeleteDword(RegistrySandbox& sandbox, const char* name, DWORD value)
{
    if (value == kValueMissing)
        sandbox.DeleteValue(HKEY_LOCAL_MACHINE, kCurrentVersionKey, name);
    else
        sandbox.SetDword(HKEY_LOCAL_MACHINE, kCurrentVersionKey, name, value);
}

} // namespace

void SetWindowsVersionValues(RegistrySandbox& sandbox, DWORD major, DWORD minor, DWORD buildType,
                             const std::string& build)
{
    SetOrDeleteDword(sandbox, "CurrentMajorVersionNumber", major);
    SetOrDeleteDword(sandbox, "CurrentMinorVersionNumber", minor);
    if (buildType == kValueMissing)
        sandbox.DeleteValue(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "CurrentBuild");
    else
        sandbox.SetBinary(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "CurrentBuild",
                          std::vector<BYTE>(build.begin(), build.end()), buildType);
}

void SetWindowsVersion(RegistrySandbox& sandbox, DWORD major, DWORD minor, const char* build)
{
    SetWindowsVersionValues(sandbox, major, minor, REG_SZ, std::string(build) + '\0');
}
