#include "harness/target_process.h"

#include "harness/module_paths.h"

#include <gtest/gtest.h>

const DWORD kWindowWaitMs = 20000;

std::string TargetProgram() { return OutputFile("nvtarget.exe"); }

TargetProcess::TargetProcess(const std::string& tag, const std::string& options,
                             const std::string& program)
{
    const std::string title = tag + "-" + std::to_string(GetCurrentProcessId());
    std::string commandLine = "\"" + program + "\" NvTarget \"" + title + "\" " + options;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &m_info)) {
        ADD_FAILURE() << "cannot start " << commandLine << " (error " << GetLastError() << ")";
        return;
    }
    for (DWORD waited = 0; waited < kWindowWaitMs && Running(); waited += 20) {
        if (FindWindowA("NvTarget", title.c_str()))
            return;
        Sleep(20);
    }
    ADD_FAILURE() << "no window from " << commandLine;
}

TargetProcess::~TargetProcess()
{
    Kill();
    CloseHandle(m_info.hProcess); // null when it never started: harmless
    CloseHandle(m_info.hThread);
}

DWORD TargetProcess::WaitForExit(DWORD ms) const
{
    DWORD code = STILL_ACTIVE; // kept when the process never started
    WaitForSingleObject(m_info.hProcess, ms);
    GetExitCodeProcess(m_info.hProcess, &code);
    return code;
}

void TargetProcess::Kill()
{
    if (m_info.hProcess && Running()) {
        TerminateProcess(m_info.hProcess, 99);
        WaitForSingleObject(m_info.hProcess, kWindowWaitMs);
    }
}
