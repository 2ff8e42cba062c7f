// A program started for one test. It is ended by force if it still runs when
// the object goes away, so a test that fails part-way leaves nothing running.
#pragma once

#include "call_site.h" // by its path: the stand-in program includes this header

#include <windows.h>

#include <string>

// `text` in double quotes, for a command line.
std::string Quoted(const std::string& text);

class ChildProcess {
public:
    // `arguments` follow the program's quoted path on the command line. The
    // child inherits the handles made inheritable for it; `output`, when
    // given, becomes its standard output and error. A start that fails is a
    // test failure at `site`.
    ChildProcess(const std::string& program, const std::string& arguments, HANDLE output = nullptr,
                 CallSite site = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    HANDLE Handle() const { return m_info.hProcess; }
    bool Running() const { return m_info.hProcess && WaitForExit(0) == STILL_ACTIVE; }
    // Waits up to `ms` for the end; the exit code, or STILL_ACTIVE.
    DWORD WaitForExit(DWORD ms) const;
    // Waits up to `ms`, then ends the program by force with `forcedCode`; the exit code.
    DWORD Finish(DWORD ms, DWORD forcedCode = 254);
    void Kill(DWORD forcedCode = 99);

private:
    PROCESS_INFORMATION m_info = {};
};
