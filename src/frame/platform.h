#pragma once

namespace nv {

// True when the module was loaded on the NT family of Windows; decides how
// processes are enumerated. Set once while the module's globals are built.
extern const bool IsNtPlatform;

} // namespace nv
