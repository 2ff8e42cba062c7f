#pragma once

#include <windows.h>

#include <string>

namespace nv {

// Closes the running applications named by the entry list; `owner` owns the
// message boxes shown on the way.
void CloseApps(const char* entries, HWND owner);

// One pass over the windows for one entry; 1 when at least one window
// belonged to it.
int CloseMatchingApplications(const std::string& entry, HWND owner);

} // namespace nv
