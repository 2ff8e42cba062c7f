#include "shutdown/ox_process.h"

#include "frame/platform.h"

#include <tlhelp32.h>

#include <cstring>

namespace nv {

namespace {

typedef BOOL(WINAPI* EnumProcessesProc)(DWORD*, DWORD, DWORD*);
typedef BOOL(WINAPI* EnumProcessModulesProc)(HANDLE, HMODULE*, DWORD, DWORD*);
typedef DWORD(WINAPI* GetModuleFileNameExProc)(HANDLE, HMODULE, LPSTR, DWORD);
typedef HANDLE(WINAPI* CreateSnapshotProc)(DWORD, DWORD);
typedef BOOL(WINAPI* ProcessWalkProc)(HANDLE, PROCESSENTRY32*);
typedef BOOL(WINAPI* ModuleWalkProc)(HANDLE, MODULEENTRY32*);

// The process walk of the older family reads this record layout.
static_assert(sizeof(void*) != 4 || sizeof(PROCESSENTRY32) == 296, "toolhelp record size");

const DWORD kQueryAccess = PROCESS_QUERY_INFORMATION | PROCESS_VM_READ;
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

// Process-wide, set without a lock: the module is not meant for concurrent
// callers of this lookup.
struct ProcessApi {
    bool loaded = false;
    HMODULE psapi = nullptr;
    EnumProcessesProc enumProcesses = nullptr;
    EnumProcessModulesProc enumProcessModules = nullptr;
    GetModuleFileNameExProc getModuleFileNameEx = nullptr;
    ToolhelpApi toolhelp;
} g_api;

template <class F> F Resolve(HMODULE module, const char* name)
{
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// `loadedHere` receives KERNEL32 when it had to be loaded for this, so the
// caller can free it again.
bool ResolveToolhelp(ToolhelpApi& api, HMODULE& loadedHere)
{
    loadedHere = nullptr;
    HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
    if (!kernel) {
        kernel = loadedHere = LoadLibraryA("KERNEL32.DLL");
        if (!kernel)
            return false;
    }
    api.createSnapshot = Resolve<CreateSnapshotProc>(kernel, "CreateToolhelp32Snapshot");
    api.processFirst = Resolve<ProcessWalkProc>(kernel, "Process32First");
    api.processNext = Resolve<ProcessWalkProc>(kernel, "Process32Next");
    api.moduleFirst = Resolve<ModuleWalkProc>(kernel, "Module32First");
    api.moduleNext = Resolve<ModuleWalkProc>(kernel, "Module32Next");
    if (api.createSnapshot && api.processFirst && api.processNext && api.moduleFirst &&
        api.moduleNext)
        return true;
    if (loadedHere)
        FreeLibrary(loadedHere);
    loadedHere = nullptr;
    return false;
}

bool ResolvePsapi()
{
    g_api.psapi = LoadLibraryA("PSAPI.DLL");
    if (!g_api.psapi) {
        MessageBoxA(nullptr, "PSAPI.DLL konnte nicht geladen werden!",
                    "Fehler beim Laden einer Datei", MB_SYSTEMMODAL | MB_ICONHAND);
        return false;
    }
    g_api.enumProcesses = Resolve<EnumProcessesProc>(g_api.psapi, "EnumProcesses");
    g_api.enumProcessModules = Resolve<EnumProcessModulesProc>(g_api.psapi, "EnumProcessModules");
    g_api.getModuleFileNameEx =
        Resolve<GetModuleFileNameExProc>(g_api.psapi, "GetModuleFileNameExA");
    if (g_api.enumProcesses && g_api.enumProcessModules && g_api.getModuleFileNameEx)
        return true;
    FreeLibrary(g_api.psapi);
    g_api.psapi = nullptr;
    return false;
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

BOOL PsapiPath(DWORD processId, std::string& path)
{
    HANDLE process = OpenProcess(kQueryAccess, FALSE, processId);
    if (!process)
        return PseudoProcessPath(processId, path);
    HMODULE modules[1024];
    DWORD needed = 0;
    if (!g_api.enumProcessModules(process, modules, sizeof modules, &needed)) {
        CloseHandle(process);
        return PseudoProcessPath(processId, path);
    }
    char buffer[MAX_PATH] = {};
    DWORD length = g_api.getModuleFileNameEx(process, modules[0], buffer, MAX_PATH);
    path.assign(buffer, length < MAX_PATH ? length : strnlen(buffer, MAX_PATH));
    CloseHandle(process);
    return TRUE;
}

} // namespace

COXProcess::~COXProcess() { UnloadProcessApi(); }

BOOL COXProcess::LoadProcessApi()
{
    if (g_api.loaded)
        return TRUE;
    if (IsNtPlatform) {
        if (!ResolvePsapi())
            return FALSE;
    } else {
        HMODULE loadedHere = nullptr;
        if (!ResolveToolhelp(g_api.toolhelp, loadedHere))
            return FALSE;
    }
    g_api.loaded = true;
    return TRUE;
}

void COXProcess::UnloadProcessApi()
{
    if (g_api.loaded && g_api.psapi) {
        FreeLibrary(g_api.psapi);
        g_api.psapi = nullptr;
        g_api.loaded = false;
    }
}

BOOL COXProcess::GetProcessPath(std::string& path) const
{
    if (m_dwProcessId == GetCurrentProcessId()) {
        char buffer[MAX_PATH] = {};
        DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
        // Older systems leave a truncated name without its terminator.
        path.assign(buffer, length < MAX_PATH ? length : MAX_PATH);
        return length != 0;
    }
    if (!LoadProcessApi())
        return FALSE;
    if (IsNtPlatform)
        return PsapiPath(m_dwProcessId, path);
    return SnapshotPath(g_api.toolhelp, m_dwProcessId, path);
}

BOOL GetProcessModulePath(DWORD processId, std::string& path)
{
    BOOL result = FALSE;
    bool reachable = true;
    if (processId != GetCurrentProcessId() && processId != kIdleProcessId &&
        processId != kSystemProcessId) {
        HANDLE process = OpenProcess(kQueryAccess, FALSE, processId);
        reachable = process != nullptr;
        if (process)
            CloseHandle(process);
    }
    if (reachable) {
        COXProcess process(processId);
        result = process.GetProcessPath(path);
    }
    COXProcess::UnloadProcessApi();
    return result;
}

BOOL GetSnapshotProcessPath(DWORD processId, std::string& path)
{
    ToolhelpApi api;
    HMODULE loadedHere = nullptr;
    if (!ResolveToolhelp(api, loadedHere))
        return FALSE;
    BOOL found = SnapshotPath(api, processId, path);
    if (loadedHere)
        FreeLibrary(loadedHere);
    return found;
}

} // namespace nv
