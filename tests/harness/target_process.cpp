#include "harness/target_process.h"

#include "harness/module_paths.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>

namespace {

const DWORD kWindowWaitMs = 10000;
const DWORD kPollMs = 20;

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

} // namespace

std::string TargetProgram() { return OutputFile("nvtarget.exe"); }

TargetProcess::TargetProcess(const std::string& program, const std::string& windowClass,
                             const std::string& title, const std::vector<std::string>& options)
{
    std::string commandLine = Quoted(program) + " " + Quoted(windowClass) + " " + Quoted(title);
    for (const std::string& option : options)
        commandLine += " " + option;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &m_info)) {
        ADD_FAILURE() << "cannot start " << commandLine << " (error " << GetLastError() << ")";
        return;
    }
    for (DWORD waited = 0; waited < kWindowWaitMs; waited += kPollMs) {
        m_window = FindWindowA(windowClass.c_str(), title.c_str());
        if (m_window)
            return;
        if (!Running())
            break;
        Sleep(kPollMs);
    }
    ADD_FAILURE() << "no window from " << commandLine;
}

TargetProcess::~TargetProcess()
{
    Kill();
    if (m_info.hProcess) {
        CloseHandle(m_info.hProcess);
        CloseHandle(m_info.hThread);
    }
}

bool TargetProcess::Running() const { return WaitForExit(0) == STILL_ACTIVE; }

DWORD TargetProcess::WaitForExit(DWORD ms) const
{
    if (!m_info.hProcess)
        return STILL_ACTIVE;
    WaitForSingleObject(m_info.hProcess, ms);
    DWORD code = STILL_ACTIVE;
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

bool FinishesWithin(DWORD ms, const std::function<void()>& body, TargetProcess& target)
{
    std::future<void> run = std::async(std::launch::async, body);
    if (run.wait_for(std::chrono::milliseconds(ms)) == std::future_status::ready)
        return true;
    target.Kill();
    run.wait();
    return false;
}
