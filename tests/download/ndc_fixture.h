// NDC files for the download tests: written into a test's own folder.
#pragma once

#include "harness/temp_folder.h"

#include <windows.h>

#include <string>

// The value of `key` in `section` as the platform reads it ("<none>" when missing).
inline std::string ReadNdcKey(const std::string& path, const char* section, const char* key)
{
    char buffer[1024] = {};
    GetPrivateProfileStringA(section, key, "<none>", buffer, sizeof buffer, path.c_str());
    return buffer;
}
