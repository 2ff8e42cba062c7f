// IsItemInstallable in a process of its own, as the machine-wide rollout settings
// are read once per process. Exit code: bit i for the i-th installable section; 255: no module.
#include <windows.h>

#include <string>

int main(int argc, char** argv)
{
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (argc < 3 || length == 0 || length >= MAX_PATH)
        return 255;
    std::string folder(path, length);
    folder.erase(folder.find_last_of('\\') + 1);
    HMODULE module = LoadLibraryA((folder + "nvinfo.dll").c_str());
    typedef bool(__cdecl * IsItemInstallable)(const char*, const char*);
    auto installable = module ? reinterpret_cast<IsItemInstallable>(reinterpret_cast<void*>(
                                    GetProcAddress(module, "IsItemInstallable")))
                              : nullptr;
    if (!installable)
        return 255;
    int result = 0;
    for (int i = 2; i < argc && i < 10; ++i) {
        if (installable(argv[1], argv[i]))
            result |= 1 << (i - 2);
    }
    return result;
}
