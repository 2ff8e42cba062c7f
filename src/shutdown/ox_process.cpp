#include "shutdown/ox_process.h"

#include "frame/platform.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cstring>

namespace nv {

namespace {

typedef BOOL(WINAPI* EnumProcessesProc)(DWORD*, DWORD, DWORD*);
typedef BOOL(WINAPI* EnumProcessModulesProc)(HANDLE, HMODULE*, DWORD, DWORD*);
typedef DWORD(WINAPI* GetModuleFileNameExProc)(HANDLE, HMODULE, LPSTR, DWORD);
typedef HANDLE(WINAPI* CreateSnapshotProc)(DWORD, DWORD);
typedef BOOL(WINAPI* ProcessWalkProc)(HANDLE, PROCESSENTRY32*);
typedef BOOL(WINAPI* ModuleWalkProc)(HANDLE, MODULEENTRY32*);
typedef BOOL(WINAPI* QueryImageNameProc)(HANDLE, DWORD, LPSTR, PDWORD);

// The process walk of the older family reads this record layout.
static_assert(sizeof(void*) != 4 || sizeof(PROCESSENTRY32) == 296, "toolhelp record size");

const DWORD kQueryAccess = PROCESS_QUERY_INFORMATION | PROCESS_VM_READ;
// Longest path the system hands out; an executable deeper than MAX_PATH still
// has its name at the end, where entries look for it.
const DWORD kMaxImagePath = 32768;
const DWORD kIdleProcessId = 0;
const DWORD kSystemProcessId = 2;
// A snapshot is finite, but a damaged one must not keep the walk going.
const int kMaxSnapshotEntries = 65536;

struct ToolhelpApi {
    CreateSnapshotProc createSnapshot = nullptr;
    ProcessWalkProc processFirst = nullptr;
    ProcessWalkProc processNext = nullptr;
    ModuleWalkProc moduleFirst = nullptr;
    ModuleWalkProc moduleNext = nullptr;
};

// The entry points of one lookup; frees what it loaded when it goes.
struct ProcessApi {
    ProcessApi() = default;
    ~ProcessApi()
    {
        if (library)
            FreeLibrary(library);
    }
    ProcessApi(const ProcessApi&) = delete;
    ProcessApi& operator=(const ProcessApi&) = delete;

    HMODULE library = nullptr; // PSAPI, or KERNEL32 when it had to be loaded
    EnumProcessesProc enumProcesses = nullptr;
    EnumProcessModulesProc enumProcessModules = nullptr;
    GetModuleFileNameExProc getModuleFileNameEx = nullptr;
    ToolhelpApi toolhelp;
};

template <class F> F Resolve(HMODULE module, const char* name)
{
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

bool ResolveToolhelp(ProcessApi& api)
{
    HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
    if (!kernel) {
        kernel = api.library = LoadLibraryA("KERNEL32.DLL");
        if (!kernel)
            return false;
    }
    ToolhelpApi& toolhelp = api.toolhelp;
    toolhelp.createSnapshot = Resolve<CreateSnapshotProc>(kernel, "CreateToolhelp32Snapshot");
    toolhelp.processFirst = Resolve<ProcessWalkProc>(kernel, "Process32First");
    toolhelp.processNext = Resolve<ProcessWalkProc>(kernel, "Process32Next");
    toolhelp.moduleFirst = Resolve<ModuleWalkProc>(kernel, "Module32First");
    toolhelp.moduleNext = Resolve<ModuleWalkProc>(kernel, "Module32Next");
    return toolhelp.createSnapshot && toolhelp.processFirst && toolhelp.processNext &&
           toolhelp.moduleFirst && toolhelp.moduleNext;
}

bool ResolvePsapi(ProcessApi& api)
{
    api.library = LoadLibraryA("PSAPI.DLL");
    if (!api.library) {
        MessageBoxA(nullptr, "PSAPI.DLL konnte nicht geladen werden!",
                    "Fehler beim Laden einer Datei", MB_SYSTEMMODAL | MB_ICONHAND);
        return false;
    }
    api.enumProcesses = Resolve<EnumProcessesProc>(api.library, "EnumProcesses");
    api.enumProcessModules = Resolve<EnumProcessModulesProc>(api.library, "EnumProcessModules");
    api.getModuleFileNameEx = Resolve<GetModuleFileNameExProc>(api.library, "GetModuleFileNameExA");
    return api.enumProcesses && api.enumProcessModules && api.getModuleFileNameEx;
}

BOOL LoadProcessApi(ProcessApi& api)
{
    return IsNtPlatform ? ResolvePsapi(api) : ResolveToolhelp(api);
}

BOOL SnapshotPath(const ToolhelpApi& api, DWORD processId, std::string& path)
{
    HANDLE snapshot = api.createSnapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE || !snapshot)
        return FALSE;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    BOOL found = FALSE;
    BOOL more = api.processFirst(snapshot, &entry);
    for (int walked = 0; more && walked < kMaxSnapshotEntries; ++walked) {
        if (entry.th32ProcessID == processId) {
            path.assign(entry.szExeFile, strnlen(entry.szExeFile, sizeof entry.szExeFile));
            found = TRUE;
            break;
        }
        more = api.processNext(snapshot, &entry);
    }
    CloseHandle(snapshot);
    return found;
}

// The name the NT family gives the two processes that have no module list.
BOOL PseudoProcessPath(DWORD processId, std::string& path)
{
    if (processId == kIdleProcessId) {
        path = "System Idle Process";
        return TRUE;
    }
    if (processId == kSystemProcessId) {
        path = "System";
        return TRUE;
    }
    return FALSE;
}

BOOL PsapiPath(const ProcessApi& api, DWORD processId, std::string& path)
{
    HANDLE process = OpenProcess(kQueryAccess, FALSE, processId);
    if (!process)
        return PseudoProcessPath(processId, path);
    HMODULE modules[1024];
    DWORD needed = 0;
    if (!api.enumProcessModules(process, modules, sizeof modules, &needed)) {
        CloseHandle(process);
        return PseudoProcessPath(processId, path);
    }
    char buffer[MAX_PATH] = {};
    DWORD length = api.getModuleFileNameEx(process, modules[0], buffer, MAX_PATH);
    path.assign(buffer, length < MAX_PATH ? length : strnlen(buffer, MAX_PATH));
    CloseHandle(process);
    return TRUE;
}

// The system's own name of a process's executable, present from Windows Vista
// on. It needs only the limited query right, which an elevated program still
// grants to its user's other programs, and it works across the 32/64-bit line,
// where a 32-bit caller cannot read a 64-bit process's module list (PSAPI).
QueryImageNameProc ImageNameQuery()
{
    HMODULE kernel = IsNtPlatform ? GetModuleHandleA("KERNEL32.DLL") : nullptr;
    return kernel ? Resolve<QueryImageNameProc>(kernel, "QueryFullProcessImageNameA") : nullptr;
}

DWORD QueryAccess() { return ImageNameQuery() ? PROCESS_QUERY_LIMITED_INFORMATION : kQueryAccess; }

BOOL ImageNamePath(QueryImageNameProc query, DWORD processId, std::string& path)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process)
        return PseudoProcessPath(processId, path);
    std::string buffer(kMaxImagePath, '\0');
    DWORD length = kMaxImagePath;
    const BOOL named = query(process, 0, &buffer[0], &length);
    CloseHandle(process);
    if (!named)
        return PseudoProcessPath(processId, path);
    path.assign(buffer.data(), std::min(length, kMaxImagePath));
    return TRUE;
}

} // namespace

BOOL COXProcess::GetProcessPath(std::string& path) const
{
    if (m_dwProcessId == GetCurrentProcessId()) {
        char buffer[MAX_PATH] = {};
        DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
        // Older systems leave a truncated name without its terminator.
        path.assign(buffer, length < MAX_PATH ? length : MAX_PATH);
        return length != 0;
    }
    if (QueryImageNameProc query = ImageNameQuery())
        return ImageNamePath(query, m_dwProcessId, path);
    ProcessApi api;
    if (!LoadProcessApi(api))
        return FALSE;
    if (IsNtPlatform)
        return PsapiPath(api, m_dwProcessId, path);
    return SnapshotPath(api.toolhelp, m_dwProcessId, path);
}

BOOL GetProcessModulePath(DWORD processId, std::string& path)
{
    if (processId != GetCurrentProcessId() && processId != kIdleProcessId &&
        processId != kSystemProcessId) {
        HANDLE process = OpenProcess(QueryAccess(), FALSE, processId);
        if (!process)
            return FALSE;
        CloseHandle(process);
    }
    return COXProcess(processId).GetProcessPath(path);
}

} // namespace nv
