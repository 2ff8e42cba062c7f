// Maps a process id to the path of its executable. The NT family answers
// through QueryFullProcessImageNameA, or PSAPI before Windows Vista, the older
// family through the toolhelp functions of KERNEL32; all are resolved at run
// time because none exists everywhere.
#pragma once

#include <windows.h>

#include <string>

namespace nv {

class COXProcess {
public:
    explicit COXProcess(DWORD processId) : m_dwProcessId(processId) {}
    virtual ~COXProcess() = default;
    COXProcess(const COXProcess&) = delete;
    COXProcess& operator=(const COXProcess&) = delete;

    // Resolves the entry points for this one lookup and frees what it loaded
    // again afterwards, so that threads looking up at the same time share nothing.
    BOOL GetProcessPath(std::string& path) const;

private:
    DWORD m_dwProcessId;
};

// Path of the executable of `processId`.
BOOL GetProcessModulePath(DWORD processId, std::string& path);

} // namespace nv
