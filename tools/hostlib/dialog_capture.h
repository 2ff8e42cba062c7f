// Records every dialog box ("#32770", as MessageBoxA makes them) that the
// calling thread opens while the object lives, and answers it at once so that
// nothing waits for a user.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct CapturedDialog {
    std::string caption;
    std::string text;
    HWND owner = nullptr;
};

class DialogCapture {
public:
    explicit DialogCapture(int answer = IDOK,
                           std::function<void(const CapturedDialog&)> onDialog = nullptr);
    ~DialogCapture();
    DialogCapture(const DialogCapture&) = delete;
    DialogCapture& operator=(const DialogCapture&) = delete;

    const std::vector<CapturedDialog>& Dialogs() const { return m_dialogs; }
    void Clear() { m_dialogs.clear(); }

private:
    static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);
    void Record(HWND dialog);

    HHOOK m_hook = nullptr;
    int m_answer;
    std::function<void(const CapturedDialog&)> m_onDialog;
    std::vector<CapturedDialog> m_dialogs;
    DialogCapture* m_previous = nullptr;
};
