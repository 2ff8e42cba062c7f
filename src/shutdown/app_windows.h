// The windows that closing applications works on: visible, unowned top-level
// windows that are no tool windows, with their process and whether they still
// answer messages.
#pragma once

#include "shutdown/held_process.h"

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

// A collected window with its process, held from the moment the window was
// seen so that only that process can ever be terminated for it.
struct ApplicationCandidate {
    _tagAPPLICATIONINFO info;
    HeldProcess process;
};

typedef std::vector<ApplicationCandidate> ApplicationCandidates;

// How long a window may take to answer the WM_NULL probe.
const UINT kRespondingProbeMs = 5000;
// The second look at a window that did not answer, right before its process
// would be terminated. A thread stuck ever since counts as hung at once; the
// bound only matters for one that looks at its messages again, however slowly.
const UINT kRecheckProbeMs = 1000;

// Parameter of CollectApplicationWindows.
struct CollectWindowsParam {
    ApplicationCandidates* windows;
    const char* propertyName; // null: no property test
    bool failed;              // an error ended the enumeration
};

// EnumWindows callback; `param` points to a CollectWindowsParam.
BOOL CALLBACK CollectApplicationWindows(HWND window, LPARAM param);

// The candidates in enumeration order, not yet probed; false, and none, when
// the enumeration failed.
bool CollectCandidateWindows(const char* propertyName, ApplicationCandidates& windows);

// Returns once no top-level window carries `title` or `seconds` have passed
// (whole seconds), showing the hourglass meanwhile. Sleeps between looks and
// answers messages that other threads send to the caller's windows meanwhile.
void WaitForWindowTitleGone(unsigned long long seconds, const std::string& title);

// Whether the window's thread answers WM_NULL within `timeoutMs`; a thread
// that has not looked at its messages for seconds is hung and fails at once.
bool AnswersProbe(HWND window, UINT timeoutMs);

bool TopLevelWindowWithTitleExists(const std::string& title);

// The window's current title, read without waiting for the window's thread.
std::string WindowTitle(HWND window);

// Shows `window` normally; a window of another thread only asynchronously.
void ShowApplicationWindow(HWND window);

} // namespace nv
