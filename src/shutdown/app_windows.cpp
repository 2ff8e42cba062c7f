#include "shutdown/app_windows.h"

#include "support/wait_cursor.h"

#include <time.h>

#include <new>

namespace nv {

namespace {

const DWORD kUnknownProcessId = 0xFFFFFFFF;
// Titles longer than this are cut; FindWindowEx then no longer finds them,
// which only shortens the waits.
const int kMaxTitleLength = 4096;

bool IsApplicationWindow(HWND window)
{
    if (GetWindow(window, GW_OWNER))
        return false;
    if (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)
        return false;
    return (GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

} // namespace

BOOL CALLBACK CollectApplicationWindows(HWND window, LPARAM param)
{
    CollectWindowsParam* collect = reinterpret_cast<CollectWindowsParam*>(param);
    if (!collect)
        return FALSE;
    if (!IsApplicationWindow(window))
        return TRUE;
    _tagAPPLICATIONINFO info;
    info.hWnd = window;
    info.dwProcessId = kUnknownProcessId;
    DWORD processId = 0;
    if (GetWindowThreadProcessId(window, &processId))
        info.dwProcessId = processId;
    DWORD_PTR answer = 0;
    info.bResponding = SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG,
                                           kRespondingProbeMs, &answer) != 0;
    if (collect->propertyName && !GetPropA(window, collect->propertyName))
        return TRUE;
    // No exception may unwind through the system's enumeration: without memory
    // for one more window the enumeration stops and reports its failure.
    try {
        collect->windows->push_back(info);
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
    return TRUE;
}

bool CollectCandidateWindows(const char* propertyName, ApplicationInfoArray& windows)
{
    CollectWindowsParam param = {&windows, propertyName};
    return EnumWindows(CollectApplicationWindows, reinterpret_cast<LPARAM>(&param)) != FALSE;
}

bool TopLevelWindowWithTitleExists(const std::string& title)
{
    return FindWindowExA(nullptr, nullptr, nullptr, title.c_str()) != nullptr;
}

void WaitForWindowTitleGone(unsigned long long seconds, const std::string& title)
{
    WaitCursor hourglass;
    // Seconds since the epoch rather than local time: a daylight-saving
    // change during the wait must not stretch it by an hour.
    const unsigned long long start = static_cast<unsigned long long>(_time64(nullptr));
    const unsigned long long deadline = start + seconds < start ? ~0ULL : start + seconds;
    // A busy poll of one-second resolution; it ends at the deadline at the latest.
    while (deadline > static_cast<unsigned long long>(_time64(nullptr)) &&
           TopLevelWindowWithTitleExists(title)) {
    }
}

std::string WindowTitle(HWND window)
{
    int length = GetWindowTextLengthA(window);
    if (length <= 0)
        return std::string();
    if (length > kMaxTitleLength)
        length = kMaxTitleLength;
    std::string title(static_cast<size_t>(length) + 1, '\0');
    int copied = GetWindowTextA(window, &title[0], length + 1);
    title.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return title;
}

} // namespace nv
