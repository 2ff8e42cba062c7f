// The value of a key of an NDC file as the platform reads it ("<none>" when missing).
#pragma once

#include "harness/temp_folder.h"

#include <windows.h>

#include <string>

inline std::string ReadNdcKey(const std::string& path, const char* section, const char* key)
{
    char buffer[1024] = {};
    GetPrivateProfileStringA(section, key, "<none>", buffer, sizeof buffer, path.c_str());
    return buffer;
}
