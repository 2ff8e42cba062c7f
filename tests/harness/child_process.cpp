#include "harness/child_process.h"

#include <gtest/gtest.h>

// Generous for a loaded machine: a terminated process is gone long before.
const DWORD kEndWaitMs = 20000;

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

ChildProcess::ChildProcess(const std::string& program, const std::string& arguments, HANDLE output,
                           CallSite site)
{
    std::string commandLine = Quoted(program) + " " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (output) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = startup.hStdError = output;
    }
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                        nullptr, &startup, &m_info))
        ADD_FAILURE_AT(site.file, site.line)
            << "cannot start " << commandLine << " (error " << GetLastError() << ")";
}

ChildProcess::~ChildProcess()
{
    Kill();
    CloseHandle(m_info.hProcess); // null when it never started: harmless
    CloseHandle(m_info.hThread);
}

DWORD ChildProcess::WaitForExit(DWORD ms) const
{
    DWORD code = STILL_ACTIVE; // kept when the process never started
    WaitForSingleObject(m_info.hProcess, ms);
    GetExitCodeProcess(m_info.hProcess, &code);
    return code;
}

DWORD ChildProcess::Finish(DWORD ms, DWORD forcedCode)
{
    if (WaitForExit(ms) == STILL_ACTIVE)
        Kill(forcedCode);
    return WaitForExit(0);
}

void ChildProcess::Kill(DWORD forcedCode)
{
    if (m_info.hProcess && Running()) {
        TerminateProcess(m_info.hProcess, forcedCode);
        WaitForSingleObject(m_info.hProcess, kEndWaitMs);
    }
}
