// Where the built programs lie: the test programs, the module and the small
// helper programs all share the build's output folder.
#pragma once

#include <windows.h>

#include <string>

inline std::string OutputFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string file = path;
    return file.substr(0, file.find_last_of("\\/"));
}

inline std::string OutputFile(const std::string& name) { return OutputFolder() + "\\" + name; }
