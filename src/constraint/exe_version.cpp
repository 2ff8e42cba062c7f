#include "constraint/exe_version.h"

#include <windows.h>

#include <vector>

CExeVersion::CExeVersion(const std::string& path) : m_path(path)
{
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(m_path.c_str(), &handle);
    if (size == 0)
        return;
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoA(m_path.c_str(), 0, size, block.data()))
        return;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    char root[] = "\\";
    if (!VerQueryValueA(block.data(), root, reinterpret_cast<void**>(&fixed), &fixedSize) || !fixed
        || fixedSize < sizeof(VS_FIXEDFILEINFO))
        return;
    m_version = CVersionNumber(HIWORD(fixed->dwProductVersionMS), LOWORD(fixed->dwProductVersionMS),
                               HIWORD(fixed->dwProductVersionLS), LOWORD(fixed->dwProductVersionLS));
}
