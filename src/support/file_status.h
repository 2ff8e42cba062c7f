// The framework's file status test: a path whose status can be read names an
// existing file or folder. Callers use it where the suite has always asked
// "does this exist" before loading.
#pragma once

#include <string>

namespace nv {

// True when the status of `path` can be read (full path resolvable and the
// entry found). An empty path has no status.
bool HasFileStatus(const std::string& path);

} // namespace nv
