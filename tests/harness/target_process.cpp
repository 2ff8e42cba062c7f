#include "harness/target_process.h"

#include "harness/module_paths.h"

#include <gtest/gtest.h>

const DWORD kWindowWaitMs = 20000;

std::string TargetProgram() { return OutputFile("nvtarget.exe"); }

// The window's title: `tag` and this process's id.
static std::string TargetTitle(const std::string& tag)
{
    return tag + "-" + std::to_string(GetCurrentProcessId());
}

TargetProcess::TargetProcess(const std::string& tag, const std::string& options,
                             const std::string& program, CallSite site)
    : ChildProcess(program, "NvTarget " + Quoted(TargetTitle(tag)) + " " + options, nullptr, site)
{
    for (DWORD waited = 0; waited < kWindowWaitMs && Running(); waited += 20) {
        if (FindWindowA("NvTarget", TargetTitle(tag).c_str()))
            return;
        Sleep(20);
    }
    ADD_FAILURE_AT(site.file, site.line) << "no window from " << program << " " << options;
}
