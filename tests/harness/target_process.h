// A stand-in application (the nvtarget test program, or a copy of it under
// another name) started for one test, with its window and its exit code.
// A process still running when the object goes away is terminated.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class TargetProcess {
public:
    // Starts `program` with the window class, title and nvtarget options and
    // waits until the window exists (a test failure if it does not come up).
    TargetProcess(const std::string& program, const std::string& windowClass,
                  const std::string& title, const std::vector<std::string>& options = {});
    ~TargetProcess();
    TargetProcess(const TargetProcess&) = delete;
    TargetProcess& operator=(const TargetProcess&) = delete;

    DWORD Id() const { return m_info.dwProcessId; }
    HWND Window() const { return m_window; }
    bool Running() const;
    // Waits up to `ms` for the end; the exit code, or STILL_ACTIVE.
    DWORD WaitForExit(DWORD ms) const;
    void Kill();

private:
    PROCESS_INFORMATION m_info = {};
    HWND m_window = nullptr;
};

// nvtarget.exe of the build.
std::string TargetProgram();
// Exit codes of nvtarget.
const DWORD kTargetTerminated = 0;
const DWORD kTargetClosed = 10;       // plus wParam of the WM_CLOSE
const DWORD kTargetQuitInLoop = 20;
const DWORD kTargetQuitSent = 30;

// Runs `body` on a thread of its own. If it has not finished after `ms`, the
// target is terminated (which ends any wait on it), the thread is joined and
// the result is false: a caller that hangs fails its test instead of stalling it.
bool FinishesWithin(DWORD ms, const std::function<void()>& body, TargetProcess& target);
