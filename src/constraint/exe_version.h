// The version of an installed component, as constraints and download
// conditions compare it.
#pragma once

#include "constraint/version_number.h"

#include <windows.h>

#include <string>
#include <vector>

namespace nv {

// The version resource block of the file at `path`; empty when the file has
// none or it cannot be read.
std::vector<BYTE> ReadVersionResource(const std::string& path);

// The product version (`product`) or the file version of the block's fixed
// version information; false when the block has none.
bool FixedVersionOf(const std::vector<BYTE>& block, bool product, CVersionNumber& version);

} // namespace nv

class CComponentVersionInfo {
public:
    virtual ~CComponentVersionInfo() = default;

    // 0.0.0.0 until a derived class has read it.
    const CVersionNumber& GetVersion() const { return m_version; }

protected:
    CVersionNumber m_version;
};

// The product version (not the file version) of a file's version resource.
// A missing file, a file without a version resource or an unreadable one
// reads as 0.0.0.0: installed products are often older builds without one.
class CExeVersion : public CComponentVersionInfo {
public:
    explicit CExeVersion(const std::string& path);

    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};
