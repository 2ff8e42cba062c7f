#include "shutdown/close_methods.h"

namespace nv {

namespace {

// SendMessageA as the methods R and S were, but bounded; a time-out leaves the
// window to the next pass as not closed.
void BoundedSend(HWND window, UINT message, unsigned long long seconds)
{
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(window, message, 0, 0, SMTO_ABORTIFHUNG,
                        SecondsToTimeout(seconds ? seconds : kBoundedSendDefaultSeconds), &answer);
}

void CloseStandard(const AppEntry& entry, const ApplicationCandidate& candidate,
                   const std::string& title)
{
    HWND window = candidate.info.hWnd;
    const bool extraWaits = entry.method == 'X';
    // A window that did not answer when the windows were collected may have
    // recovered while earlier windows were closed or a message box was up; one
    // that answers now is asked to close like any other.
    if (!candidate.info.bResponding && !AnswersProbe(window, kRecheckProbeMs)) {
        candidate.process.TerminateIfOwner(window);
    } else {
        DWORD_PTR answer = 0;
        // Giving up on a hung window leaves the error untouched on some systems;
        // only a clear error means "hung" rather than "timed out".
        SetLastError(0);
        if (!SendMessageTimeoutA(window, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG,
                                 SecondsToTimeout(entry.seconds), &answer) &&
            GetLastError() == 0) {
            if (extraWaits) {
                WaitForWindowTitleGone(entry.seconds, title);
                if (TopLevelWindowWithTitleExists(title))
                    PostMessageA(window, WM_QUIT, 0, 0);
                WaitForWindowTitleGone(entry.seconds, title);
            }
            candidate.process.TerminateIfOwner(window);
        }
    }
    if (extraWaits && entry.seconds > 0)
        WaitForWindowTitleGone(entry.seconds, title);
    if (TopLevelWindowWithTitleExists(title))
        PostMessageA(window, WM_QUIT, 0, 0);
}

} // namespace

DWORD SecondsToTimeout(unsigned long long seconds)
{
    const unsigned long long limit = INFINITE - 1;
    return seconds > limit / 1000 ? static_cast<DWORD>(limit) : static_cast<DWORD>(seconds * 1000);
}

void ApplyCloseMethod(const AppEntry& entry, const ApplicationCandidate& candidate,
                      const std::string& title)
{
    HWND window = candidate.info.hWnd;
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
