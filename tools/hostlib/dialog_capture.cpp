#include "dialog_capture.h"

namespace {
thread_local DialogCapture* t_active = nullptr;

std::string WindowText(HWND window)
{
    if (!window)
        return std::string();
    int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int copied = GetWindowTextA(window, &text[0], length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}
} // namespace

DialogCapture::DialogCapture(int answer, std::function<void(const CapturedDialog&)> onDialog)
    : m_answer(answer), m_onDialog(std::move(onDialog)), m_previous(t_active)
{
    t_active = this;
    m_hook = SetWindowsHookExA(WH_CALLWNDPROCRET, HookProc, nullptr, GetCurrentThreadId());
}

DialogCapture::~DialogCapture()
{
    if (m_hook)
        UnhookWindowsHookEx(m_hook);
    t_active = m_previous;
}

void DialogCapture::Record(HWND dialog)
{
    CapturedDialog captured;
    captured.caption = WindowText(dialog);
    captured.text = WindowText(GetDlgItem(dialog, 0xFFFF));
    captured.owner = GetWindow(dialog, GW_OWNER);
    m_dialogs.push_back(captured);
    if (m_onDialog)
        m_onDialog(captured);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(m_answer, BN_CLICKED), 0);
}

LRESULT CALLBACK DialogCapture::HookProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && t_active) {
        const CWPRETSTRUCT* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (message->message == WM_INITDIALOG) {
            char className[16] = {};
            GetClassNameA(message->hwnd, className, sizeof className);
            if (lstrcmpA(className, "#32770") == 0)
                t_active->Record(message->hwnd);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
