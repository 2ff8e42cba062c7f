// A stand-in for an application of the suite that the module is asked to
// close. It opens one top-level window and behaves as its arguments say:
//
//   nvtarget CLASS TITLE [OPTION...]
//     ignore       WM_CLOSE is ignored
//     ask=MS       on WM_CLOSE it keeps answering messages for MS ms, as while a
//                  question to the user is open, then closes
//     hang         stops answering messages once the window is shown
//     hangonclose  stops answering messages when asked to close (WM_CLOSE, or
//                  WM_QUIT sent straight to the window)
//     prop=NAME    sets the window property NAME
//     tool         the window is a tool window
//     hidden       the window is never shown
//     owned        the window is owned by a hidden window
//
// Exit codes tell the tests how it ended: 10 + wParam of the WM_CLOSE that
// destroyed the window, 20 when WM_QUIT reached the message loop while the
// window was still open, 30 when a WM_QUIT was sent straight to the window
// procedure (it then closes), 0 when it was terminated.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const int kExitClosedBase = 10;
const int kExitQuitInLoop = 20;
const int kExitQuitSent = 30;
const int kExitBadArguments = 2;

struct Behaviour {
    bool ignoreClose = false;
    DWORD askMs = 0;
    bool hang = false;
    bool hangOnClose = false;
    std::string property;
    bool tool = false;
    bool hidden = false;
    bool owned = false;
};

Behaviour g_behaviour;
int g_exitCode = kExitQuitInLoop;

bool StartsWith(const char* text, const char* prefix)
{
    return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

// Answers messages for `ms`; false when a WM_QUIT came in meanwhile (it is
// posted again for the main loop, as a modal loop does).
bool PumpFor(DWORD ms)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return false;
            }
            DispatchMessageA(&msg);
        }
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= ms)
            return true;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_ALLINPUT);
    }
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE:
        if (g_behaviour.hangOnClose)
            Sleep(INFINITE);
        if (g_behaviour.ignoreClose)
            return 0;
        if (g_behaviour.askMs && !PumpFor(g_behaviour.askMs))
            return 0;
        g_exitCode = kExitClosedBase + static_cast<int>(wParam);
        DestroyWindow(window);
        return 0;
    case WM_QUIT:
        if (g_behaviour.hangOnClose)
            Sleep(INFINITE);
        g_exitCode = kExitQuitSent;
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        if (!g_behaviour.property.empty())
            RemovePropA(window, g_behaviour.property.c_str());
        PostQuitMessage(g_exitCode);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

bool ParseOption(const char* option)
{
    Behaviour& b = g_behaviour;
    if (!std::strcmp(option, "ignore"))
        b.ignoreClose = true;
    else if (StartsWith(option, "ask="))
        b.askMs = static_cast<DWORD>(std::strtoul(option + 4, nullptr, 10));
    else if (!std::strcmp(option, "hang"))
        b.hang = true;
    else if (!std::strcmp(option, "hangonclose"))
        b.hangOnClose = true;
    else if (StartsWith(option, "prop="))
        b.property = option + 5;
    else if (!std::strcmp(option, "tool"))
        b.tool = true;
    else if (!std::strcmp(option, "hidden"))
        b.hidden = true;
    else if (!std::strcmp(option, "owned"))
        b.owned = true;
    else
        return false;
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return kExitBadArguments;
    for (int i = 3; i < argc; ++i) {
        if (!ParseOption(argv[i]))
            return kExitBadArguments;
    }
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = argv[1];
    if (!RegisterClassA(&windowClass))
        return kExitBadArguments;

    HWND owner = nullptr;
    if (g_behaviour.owned)
        owner = CreateWindowExA(0, argv[1], "owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                nullptr, instance, nullptr);
    // The title comes last: tests wait for it, and by then the window must
    // carry its property and be shown, or a close pass could miss it.
    HWND window =
        CreateWindowExA(g_behaviour.tool ? WS_EX_TOOLWINDOW : 0, argv[1], "",
                        WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, owner, nullptr, instance, nullptr);
    if (!window)
        return kExitBadArguments;
    if (!g_behaviour.property.empty())
        SetPropA(window, g_behaviour.property.c_str(), reinterpret_cast<HANDLE>(1));
    if (!g_behaviour.hidden)
        ShowWindow(window, SW_SHOWNORMAL);
    SetWindowTextA(window, argv[2]);
    if (g_behaviour.hang)
        Sleep(INFINITE);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return IsWindow(window) ? kExitQuitInLoop : static_cast<int>(msg.wParam);
}
