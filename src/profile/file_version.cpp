#include "profile/file_version.h"

#include "constraint/exe_version.h"
#include "support/module_app.h"

#include <mutex>
#include <string>

namespace nv {

namespace {

struct VersionNumbers {
    int major = 0;
    int minor = 0;
    int build = 0;
    int revision = 0;
};

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
    return path.empty() ? std::vector<BYTE>() : ReadVersionResource(path);
}

namespace {

bool ReadVersionNumbers(int which, const char* name, VersionNumbers& numbers)
{
    if (which == -1)
        which = name ? 1 : 0;
    CVersionNumber version;
    if (!FixedVersionOf(GetModuleVersionInfo(name), which != 0, version))
        return false;
    numbers.major = static_cast<int>(version.Part(0));
    numbers.minor = static_cast<int>(version.Part(1));
    numbers.build = static_cast<int>(version.Part(2));
    numbers.revision = static_cast<int>(version.Part(3));
    return true;
}

// The module's own numbers, kept for the process once read with a major
// number other than 0 (the first caller's `which` decides, as it always
// has). Queries for named files never touch it: two threads asking for
// different files at once each get their own file's numbers.
bool ModuleVersionNumbers(int which, VersionNumbers& numbers)
{
    static std::mutex guard;
    static VersionNumbers cache;
    std::lock_guard<std::mutex> lock(guard);
    if (cache.major == 0) {
        VersionNumbers read;
        if (!ReadVersionNumbers(which, nullptr, read))
            return false;
        cache = read;
    }
    numbers = cache;
    return true;
}

} // namespace

BOOL GetFileVersion(int* major, int* minor, int* build, int* revision, int which, const char* name)
{
    VersionNumbers numbers;
    if (!(name ? ReadVersionNumbers(which, name, numbers) : ModuleVersionNumbers(which, numbers)))
        return FALSE;
    if (major)
        *major = numbers.major;
    if (minor)
        *minor = numbers.minor;
    if (build)
        *build = numbers.build;
    if (revision)
        *revision = numbers.revision;
    return TRUE;
}

} // namespace nv
