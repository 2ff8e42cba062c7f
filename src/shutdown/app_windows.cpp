#include "shutdown/app_windows.h"

#include "support/bstr_text.h"
#include "support/wait_cursor.h"

#include <time.h>

#include <utility>

namespace nv {

namespace {

const DWORD kUnknownProcessId = 0xFFFFFFFF;
// Titles longer than this are cut; FindWindowEx then no longer finds them,
// which only shortens the waits.
const int kMaxTitleLength = 4096;
// How often the title wait looks again; short against its one-second resolution.
const DWORD kTitlePollMs = 100;

bool IsApplicationWindow(HWND window)
{
    if (GetWindow(window, GW_OWNER))
        return false;
    if (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)
        return false;
    return (GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

void CollectIfCandidate(HWND window, CollectWindowsParam& collect)
{
    if (!IsApplicationWindow(window))
        return;
    ApplicationCandidate candidate;
    candidate.info.hWnd = window;
    candidate.info.dwProcessId = kUnknownProcessId;
    DWORD processId = 0;
    if (GetWindowThreadProcessId(window, &processId)) {
        candidate.info.dwProcessId = processId;
        candidate.process = HeldProcess(processId);
    }
    candidate.info.bResponding = FALSE;
    if (collect.propertyName && !GetPropA(window, collect.propertyName))
        return;
    collect.windows->push_back(std::move(candidate));
}

// Sleeps up to `ms`, waking early to answer messages sent to this thread's
// windows: a sender (the caller's own other threads, a system broadcast) must
// not stall for the whole wait.
void SleepAnsweringSentMessages(DWORD ms)
{
    if (MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_SENDMESSAGE) == WAIT_OBJECT_0) {
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

} // namespace

BOOL CALLBACK CollectApplicationWindows(HWND window, LPARAM param)
{
    CollectWindowsParam* collect = reinterpret_cast<CollectWindowsParam*>(param);
    if (!collect)
        return FALSE;
    // No exception may unwind through EnumWindows, a system frame that knows
    // nothing of them; the pass ends instead.
    try {
        CollectIfCandidate(window, *collect);
        return TRUE;
    } catch (...) {
        collect->failed = true;
        return FALSE;
    }
}

bool CollectCandidateWindows(const char* propertyName, ApplicationCandidates& windows)
{
    CollectWindowsParam param = {&windows, propertyName, false};
    if (EnumWindows(CollectApplicationWindows, reinterpret_cast<LPARAM>(&param)) && !param.failed)
        return true;
    windows.clear();
    return false;
}

bool AnswersProbe(HWND window, UINT timeoutMs)
{
    DWORD_PTR answer = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &answer) != 0;
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
    while (deadline > static_cast<unsigned long long>(_time64(nullptr)) &&
           TopLevelWindowWithTitleExists(title))
        SleepAnsweringSentMessages(kTitlePollMs);
}

std::string WindowTitle(HWND window)
{
    // GetWindowText would send WM_GETTEXT to another thread of this process
    // and wait for it without limit; the stored title is what FindWindowEx
    // compares anyway, in the same code page.
    wchar_t title[kMaxTitleLength + 1];
    int length = InternalGetWindowText(window, title, kMaxTitleLength + 1);
    return WideToAnsi(title, static_cast<size_t>(length > 0 ? length : 0));
}

void ShowApplicationWindow(HWND window)
{
    // A synchronous show waits for the window's thread, for ever if it hangs,
    // and one that answered the probe may hang by now.
    if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId())
        ShowWindow(window, SW_SHOWNORMAL);
    else
        ShowWindowAsync(window, SW_SHOWNORMAL);
}

} // namespace nv
