// A stand-in for an application of the suite that the module is asked to close:
// one top-level window.  nvtarget CLASS TITLE [OPTION...], options: ignore
// (WM_CLOSE), hang (once shown), hangonclose (on WM_CLOSE or a sent WM_QUIT),
// prop=NAME (window property), second (another top-level window, "TITLE 2"),
// stall=MS (on WM_NULL: busy for MS, then the window goes and the program ends
// by itself a while later), recover (after the stall it goes on as before),
// busy=MS (four more windows; the program looks at its messages only every MS
// and never ends by itself). Exit codes as in the harness; 2: bad arguments.
#include "../harness/target_process.h"

#include <string>
#include <utility>

namespace {

bool g_ignoreClose = false;
bool g_hangOnClose = false;
DWORD g_stallOnNull = 0;
bool g_recover = false;
DWORD g_busyMs = 0;
int g_exitCode = kTargetQuitInLoop;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if ((message == WM_CLOSE || message == WM_QUIT) && g_hangOnClose)
        Sleep(INFINITE);
    if (message == WM_NULL && g_stallOnNull) {
        Sleep(std::exchange(g_stallOnNull, 0));
        if (g_recover)
            return 0;
        g_exitCode = kTargetEndedItself;
        DestroyWindow(window);
        return 0;
    }
    if (message == WM_CLOSE && g_ignoreClose)
        return 0;
    if (message == WM_CLOSE || message == WM_QUIT) {
        g_exitCode =
            message == WM_QUIT ? kTargetQuitSent : kTargetClosed + static_cast<int>(wParam);
        DestroyWindow(window);
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(g_exitCode);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int main(int argc, char** argv)
{
    bool hang = false, second = false;
    std::string property;
    const std::pair<const char*, bool*> switches[] = {{"recover", &g_recover},
                                                      {"second", &second},
                                                      {"ignore", &g_ignoreClose},
                                                      {"hang", &hang},
                                                      {"hangonclose", &g_hangOnClose}};
    for (int i = 3; i < argc; ++i) {
        const std::string option = argv[i], value = option.substr(option.find('=') + 1);
        bool known = option.rfind("prop=", 0) == 0 && (property = value, true);
        known |= option.rfind("stall=", 0) == 0 && (g_stallOnNull = std::stoul(value), true);
        known |= option.rfind("busy=", 0) == 0 && (g_busyMs = std::stoul(value), true);
        for (const auto& [name, flag] : switches)
            known |= option == name && (*flag = true);
        if (!known)
            return 2;
    }
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = argv[1];
    auto create = [&](const std::string& title) {
        HWND made = CreateWindowExA(0, argv[1], title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                    nullptr, nullptr, windowClass.hInstance, nullptr);
        if (made && !property.empty())
            SetPropA(made, property.c_str(), reinterpret_cast<HANDLE>(1));
        return made;
    };
    if (argc < 3 || !RegisterClassA(&windowClass))
        return 2;
    for (int i = 0; g_busyMs && i < 4; ++i)
        ShowWindow(create(std::string(argv[2]) + " busy"), SW_SHOWNORMAL);
    if (second)
        ShowWindow(create(std::string(argv[2]) + " 2"), SW_SHOWNORMAL);
    HWND window = create("");
    if (!window)
        return 2;
    // The title comes last: tests wait for it, and by then the window must
    // carry its property and be shown, or a close pass could miss it.
    ShowWindow(window, SW_SHOWNORMAL);
    SetWindowTextA(window, argv[2]);
    if (hang)
        Sleep(INFINITE);
    MSG msg;
    for (; g_busyMs; Sleep(g_busyMs))
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    // Still running with its window gone, as a program that saves on its way out.
    if (g_exitCode == kTargetEndedItself)
        Sleep(3000);
    return IsWindow(window) ? kTargetQuitInLoop : static_cast<int>(msg.wParam);
}
