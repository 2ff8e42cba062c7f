// Maps a process id to the path of its executable. The NT family answers
// through PSAPI, the older family through the toolhelp functions of KERNEL32;
// both are resolved at run time because neither exists on the other family.
#pragma once

#include <windows.h>

#include <string>

namespace nv {

class COXProcess {
public:
    explicit COXProcess(DWORD processId) : m_dwProcessId(processId) {}
    virtual ~COXProcess();
    COXProcess(const COXProcess&) = delete;
    COXProcess& operator=(const COXProcess&) = delete;

    BOOL GetProcessPath(std::string& path) const;

    // Resolves the entry points of this platform family once; PSAPI stays
    // loaded until the next UnloadProcessApi.
    static BOOL LoadProcessApi();
    // Frees PSAPI.DLL if it is held, so that the next lookup loads it afresh.
    static void UnloadProcessApi();

private:
    DWORD m_dwProcessId;
};

// Path of the executable of `processId`; PSAPI is unloaded again afterwards.
BOOL GetProcessModulePath(DWORD processId, std::string& path);

// The toolhelp lookup on its own, with entry points it resolves for itself:
// the path the older family's snapshot records for the process (on the NT
// family only the file name).
BOOL GetSnapshotProcessPath(DWORD processId, std::string& path);

} // namespace nv
