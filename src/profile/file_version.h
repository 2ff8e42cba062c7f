// The module's own version query for modules and files, with a one-entry
// process-wide cache for the module itself.
#pragma once

#include <windows.h>

#include <vector>

namespace nv {

// The version resource block of a module or file. Null name: this module.
// A name with a dot is a file path; any other name is looked up as a loaded
// module first. Empty when there is no resource.
std::vector<BYTE> GetModuleVersionInfo(const char* name);

// `which` 0: file version, any other value: product version, -1: product
// version for a named file and file version for the module itself. Every
// output pointer may be null. FALSE when the resource cannot be read.
BOOL GetFileVersion(int* major, int* minor, int* build, int* revision, int which, const char* name);

} // namespace nv
