#include "support/file_status.h"

#include <windows.h>

namespace nv {

bool HasFileStatus(const std::string& path)
{
    if (path.empty())
        return false;
    char fullPath[MAX_PATH];
    DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, fullPath, nullptr);
    if (length == 0 || length >= MAX_PATH)
        return false;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    return true;
}

} // namespace nv
