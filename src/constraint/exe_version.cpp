#include "constraint/exe_version.h"

namespace nv {

std::vector<BYTE> ReadVersionResource(const std::string& path)
{
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    if (size == 0)
        return {};
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data()))
        return {};
    return block;
}

bool FixedVersionOf(const std::vector<BYTE>& block, bool product, CVersionNumber& version)
{
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    char root[] = "\\";
    if (block.empty() ||
        !VerQueryValueA(block.data(), root, reinterpret_cast<void**>(&fixed), &fixedSize) ||
        !fixed || fixedSize < sizeof(VS_FIXEDFILEINFO))
        return false;
    const DWORD ms = product ? fixed->dwProductVersionMS : fixed->dwFileVersionMS;
    const DWORD ls = product ? fixed->dwProductVersionLS : fixed->dwFileVersionLS;
    version = CVersionNumber(HIWORD(ms), LOWORD(ms), HIWORD(ls), LOWORD(ls));
    return true;
}

} // namespace nv

CExeVersion::CExeVersion(const std::string& path) : m_path(path)
{
    nv::FixedVersionOf(nv::ReadVersionResource(m_path), true, m_version);
}
