#include "harness/module_paths.h"

#include <windows.h>

std::string OutputFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    size_t slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : folder.substr(0, slash);
}

std::string OutputFile(const std::string& name) { return OutputFolder() + "\\" + name; }
