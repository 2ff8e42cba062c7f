#pragma once

#include <windows.h>

namespace nv {

// Closes the running applications named by the entry list; `owner` owns the
// message boxes shown on the way.
void CloseApps(const char* entries, HWND owner);

} // namespace nv
