#include "shutdown/close_methods.h"

namespace nv {

namespace {

void TerminateApplication(DWORD processId)
{
    HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, processId);
    if (!process)
        return;
    TerminateProcess(process, 0);
    CloseHandle(process);
}

// SendMessageA as the methods R and S were, but bounded; a time-out leaves the
// window to the next pass as not closed.
void BoundedSend(HWND window, UINT message, unsigned long long seconds)
{
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(window, message, 0, 0, SMTO_ABORTIFHUNG,
                        SecondsToTimeout(seconds ? seconds : kBoundedSendDefaultSeconds),
                        &answer);
}

void CloseStandard(const AppEntry& entry, const _tagAPPLICATIONINFO& candidate,
                   const std::string& title)
{
    const bool extraWaits = entry.method == 'X';
    if (!candidate.bResponding) {
        TerminateApplication(candidate.dwProcessId);
    } else {
        DWORD_PTR answer = 0;
        // Giving up on a hung window leaves the error untouched on some systems;
        // only a clear error means "hung" rather than "timed out".
        SetLastError(0);
        if (!SendMessageTimeoutA(candidate.hWnd, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG,
                                 SecondsToTimeout(entry.seconds), &answer) &&
            GetLastError() == 0) {
            if (extraWaits) {
                WaitForWindowTitleGone(entry.seconds, title);
                if (TopLevelWindowWithTitleExists(title))
                    PostMessageA(candidate.hWnd, WM_QUIT, 0, 0);
                WaitForWindowTitleGone(entry.seconds, title);
            }
            TerminateApplication(candidate.dwProcessId);
        }
    }
    if (extraWaits && entry.seconds > 0)
        WaitForWindowTitleGone(entry.seconds, title);
    if (TopLevelWindowWithTitleExists(title))
        PostMessageA(candidate.hWnd, WM_QUIT, 0, 0);
}

} // namespace

DWORD SecondsToTimeout(unsigned long long seconds)
{
    const unsigned long long limit = INFINITE - 1;
    return seconds > limit / 1000 ? static_cast<DWORD>(limit) : static_cast<DWORD>(seconds * 1000);
}

void ApplyCloseMethod(const AppEntry& entry, const _tagAPPLICATIONINFO& candidate,
                      const std::string& title)
{
    HWND window = candidate.hWnd;
    switch (entry.method) {
    case 'F':
        PostMessageA(window, WM_CLOSE, 1, 0);
        break;
    case 'N':
        if (!SendNotifyMessageA(window, WM_CLOSE, 0, 0))
            PostMessageA(window, WM_QUIT, 0, 0);
        break;
    case 'P':
        PostMessageA(window, WM_CLOSE, 0, 0);
        break;
    case 'Q':
        PostMessageA(window, WM_QUIT, 0, 0);
        break;
    case 'R':
        BoundedSend(window, WM_CLOSE, entry.seconds);
        break;
    case 'S':
        BoundedSend(window, WM_QUIT, entry.seconds);
        break;
    default:
        CloseStandard(entry, candidate, title);
        break;
    }
}

} // namespace nv
