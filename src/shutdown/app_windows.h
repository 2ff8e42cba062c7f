// The windows that closing applications works on: visible, unowned top-level
// windows that are no tool windows, with their process and whether they still
// answer messages.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace nv {

// Three 32-bit fields in this order; callers of the suite have seen this record.
struct _tagAPPLICATIONINFO {
    DWORD dwProcessId; // 0xFFFFFFFF when it could not be read
    HWND hWnd;
    BOOL bResponding; // answered WM_NULL within the probe time
};

typedef std::vector<_tagAPPLICATIONINFO> ApplicationInfoArray;

// How long a window may take to answer the WM_NULL probe.
const UINT kRespondingProbeMs = 5000;

// Parameter of CollectApplicationWindows.
struct CollectWindowsParam {
    ApplicationInfoArray* windows;
    const char* propertyName; // null: no property test
};

// EnumWindows callback; `param` points to a CollectWindowsParam.
BOOL CALLBACK CollectApplicationWindows(HWND window, LPARAM param);

// The candidates in enumeration order; false when the enumeration failed.
bool CollectCandidateWindows(const char* propertyName, ApplicationInfoArray& windows);

// Returns once no top-level window carries `title` or `seconds` have passed
// (whole seconds), showing the hourglass meanwhile.
void WaitForWindowTitleGone(unsigned long long seconds, const std::string& title);

bool TopLevelWindowWithTitleExists(const std::string& title);

// The window's current title, however long.
std::string WindowTitle(HWND window);

} // namespace nv
