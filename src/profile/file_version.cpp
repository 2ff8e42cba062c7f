#include "profile/file_version.h"

#include "support/module_app.h"

#include <string>

namespace nv {

namespace {

// The one process-wide entry; valid while its major number is not 0. Set
// without a lock: every caller computes the same numbers.
struct VersionCache {
    int major = 0;
    int minor = 0;
    int build = 0;
    int revision = 0;
};
VersionCache g_cache;

std::string VersionResourcePath(const char* name)
{
    char path[MAX_PATH] = {};
    if (!name) {
        ModuleApp* app = ModuleApp::Current();
        HINSTANCE instance = app ? app->Instance() : nullptr;
        if (!instance)
            return std::string();
        DWORD length = GetModuleFileNameA(instance, path, MAX_PATH);
        return length > 0 && length < MAX_PATH ? std::string(path, length) : std::string();
    }
    std::string text = name;
    if (text.find('.') != std::string::npos)
        return text;
    HMODULE module = GetModuleHandleA(name);
    if (module) {
        DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
        if (length > 0 && length < MAX_PATH)
            return std::string(path, length);
    }
    return text;
}

} // namespace

std::vector<BYTE> GetModuleVersionInfo(const char* name)
{
    std::string path = VersionResourcePath(name);
    if (path.empty())
        return {};
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    if (size == 0)
        return {};
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data()))
        return {};
    return block;
}

BOOL GetFileVersion(int* major, int* minor, int* build, int* revision, int which,
                    const char* name)
{
    BOOL found = TRUE;
    if (name || g_cache.major == 0) {
        g_cache.major = 0;
        g_cache.minor = 0;
        std::vector<BYTE> block = GetModuleVersionInfo(name);
        VS_FIXEDFILEINFO* info = nullptr;
        UINT length = 0;
        found = !block.empty() &&
                VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&info), &length) &&
                info && length >= sizeof(VS_FIXEDFILEINFO);
        if (!found)
            return FALSE;
        if (which == -1)
            which = name ? 1 : 0;
        DWORD ms = which ? info->dwProductVersionMS : info->dwFileVersionMS;
        DWORD ls = which ? info->dwProductVersionLS : info->dwFileVersionLS;
        g_cache.major = HIWORD(ms);
        g_cache.minor = LOWORD(ms);
        g_cache.build = HIWORD(ls);
        g_cache.revision = LOWORD(ls);
    }
    if (major)
        *major = g_cache.major;
    if (minor)
        *minor = g_cache.minor;
    if (build)
        *build = g_cache.build;
    if (revision)
        *revision = g_cache.revision;
    // Only the module's own numbers stay cached.
    if (name)
        g_cache.major = 0;
    return found;
}

} // namespace nv
