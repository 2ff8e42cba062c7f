// A stand-in for an application of the suite that the module is asked to
// close: one top-level window.  nvtarget CLASS TITLE [OPTION...]
//     ignore       WM_CLOSE is ignored
//     hang         stops answering messages once the window is shown
//     hangonclose  stops answering when asked to close (WM_CLOSE, or WM_QUIT
//                  sent straight to the window)
//     prop=NAME    sets the window property NAME
//
// Exit codes: 10 + wParam of the WM_CLOSE that destroyed the window, 20 when
// WM_QUIT reached the message loop with the window still open, 30 when WM_QUIT
// was sent straight to the window procedure (it then closes), 0 when terminated.
#include <windows.h>

#include <cstring>
#include <string>

namespace {

const int kExitClosedBase = 10;
const int kExitQuitInLoop = 20;
const int kExitQuitSent = 30;
const int kExitBadArguments = 2;

bool g_ignoreClose = false;
bool g_hang = false;
bool g_hangOnClose = false;
std::string g_property;
int g_exitCode = kExitQuitInLoop;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if ((message == WM_CLOSE || message == WM_QUIT) && g_hangOnClose)
        Sleep(INFINITE);
    switch (message) {
    case WM_CLOSE:
        if (g_ignoreClose)
            return 0;
        g_exitCode = kExitClosedBase + static_cast<int>(wParam);
        DestroyWindow(window);
        return 0;
    case WM_QUIT:
        g_exitCode = kExitQuitSent;
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        if (!g_property.empty())
            RemovePropA(window, g_property.c_str());
        PostQuitMessage(g_exitCode);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

} // namespace

int main(int argc, char** argv)
{
    for (int i = 3; i < argc; ++i) {
        if (!std::strcmp(argv[i], "ignore"))
            g_ignoreClose = true;
        else if (!std::strcmp(argv[i], "hang"))
            g_hang = true;
        else if (!std::strcmp(argv[i], "hangonclose"))
            g_hangOnClose = true;
        else if (!std::strncmp(argv[i], "prop=", 5))
            g_property = argv[i] + 5;
        else
            return kExitBadArguments;
    }
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = argv[1];
    if (argc < 3 || !RegisterClassA(&windowClass))
        return kExitBadArguments;
    // The title comes last: tests wait for it, and by then the window must
    // carry its property and be shown, or a close pass could miss it.
    HWND window = CreateWindowExA(0, argv[1], "", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                  nullptr, windowClass.hInstance, nullptr);
    if (!window)
        return kExitBadArguments;
    if (!g_property.empty())
        SetPropA(window, g_property.c_str(), reinterpret_cast<HANDLE>(1));
    ShowWindow(window, SW_SHOWNORMAL);
    SetWindowTextA(window, argv[2]);
    if (g_hang)
        Sleep(INFINITE);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return IsWindow(window) ? kExitQuitInLoop : static_cast<int>(msg.wParam);
}
