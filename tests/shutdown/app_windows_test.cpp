// Collecting windows and waiting for a title, against real windows and threads.
#include "shutdown/app_windows.h"

#include <gtest/gtest.h>

#include <future>

namespace {

HWND MakeWindow(const std::string& title, DWORD style, DWORD exStyle = 0, HWND owner = nullptr)
{
    return CreateWindowExA(exStyle, "STATIC", title.c_str(), style, 0, 0, 10, 10, owner, nullptr,
                           nullptr, nullptr);
}

// Only the visible, unowned top-level windows that are no tool windows are applications.
TEST(CollectCandidateWindows, LeavesOutOwnedToolAndHiddenWindows)
{
    const char* const property = "NvFilterProbe";
    HWND application = MakeWindow("application", WS_POPUP | WS_VISIBLE);
    const HWND windows[] = {MakeWindow("owned", WS_POPUP | WS_VISIBLE, 0, application),
                            MakeWindow("tool", WS_POPUP | WS_VISIBLE, WS_EX_TOOLWINDOW),
                            MakeWindow("hidden", WS_POPUP), application};
    for (HWND window : windows)
        SetPropA(window, property, window);
    nv::ApplicationCandidates candidates;
    ASSERT_TRUE(nv::CollectCandidateWindows(property, candidates));
    ASSERT_EQ(1u, candidates.size());
    EXPECT_EQ(application, candidates[0].info.hWnd);
    for (HWND window : windows) // the owner last
        DestroyWindow(window);
}

ULONGLONG ProcessorMs()
{
    FILETIME unused, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &unused, &unused, &kernel, &user);
    ULARGE_INTEGER k = {{kernel.dwLowDateTime, kernel.dwHighDateTime}};
    ULARGE_INTEGER u = {{user.dwLowDateTime, user.dwHighDateTime}};
    return (k.QuadPart + u.QuadPart) / 10000;
}

// The title stays (the whole-second deadline ends the wait), or another thread
// closes the window with a message sent to the waiting thread.
TEST(WaitForWindowTitleGone, SleepsAnswersSentMessagesKeepsItsDeadline)
{
    const std::string title = "nv-title-wait-" + std::to_string(GetCurrentProcessId());
    for (bool closeMeanwhile : {false, true}) {
        SCOPED_TRACE(closeMeanwhile ? "closed meanwhile" : "title stays");
        HWND window = MakeWindow(title, WS_POPUP);
        auto closer = std::async(std::launch::async, [&] {
            DWORD_PTR answer = 0;
            Sleep(300);
            return !closeMeanwhile || SendMessageTimeoutA(window, WM_CLOSE, 0, 0, 0, 5000, &answer);
        });
        const ULONGLONG start = GetTickCount64(), startProcessor = ProcessorMs();
        nv::WaitForWindowTitleGone(closeMeanwhile ? 20 : 2, title);
        const ULONGLONG wall = GetTickCount64() - start, processor = ProcessorMs() - startProcessor;
        EXPECT_TRUE(closer.get());
        EXPECT_TRUE(closeMeanwhile ? wall < 5000 : wall >= 1000 && wall < 3500) << wall << " ms";
        EXPECT_LT(processor * 10, wall) << processor << " ms processor";
        DestroyWindow(window);
    }
}

} // namespace
