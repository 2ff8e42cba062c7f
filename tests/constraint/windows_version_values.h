// The values from which the module reads the running Windows version, set for
// one test through a registry sandbox that puts them back afterwards.
#pragma once

#include "harness/registry_sandbox.h"

#include <windows.h>

#include <string>

// As a number or type: delete the value instead of setting it.
const DWORD kValueMissing = 0xFFFFFFFF;

// `build` is written byte for byte with type `buildType` (no zero is added).
void SetWindowsVersionValues(RegistrySandbox& sandbox, DWORD major, DWORD minor, DWORD buildType,
                             const std::string& build);

// Windows 10 or 11 (by build number) as the registry of such a system holds it.
void SetWindowsVersion(RegistrySandbox& sandbox, DWORD major, DWORD minor, const char* build);
