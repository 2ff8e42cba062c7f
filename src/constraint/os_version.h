// The running Windows version as constraints compare it: platform identifier,
// major and minor version joined by "." ("2.10.0" on Windows 10).
#pragma once

#include <string>

namespace nv {

// False when the platform does not tell its version at all; `versionText`
// is then left unchanged.
bool ReadRunningOsVersion(std::string& versionText);

// A constraint's Windows name ("win7", "WIN10") as its version text; any other
// text is returned lower-cased, so "2.6.1" may be written directly.
std::string OsVersionNameToText(const std::string& name);

} // namespace nv
