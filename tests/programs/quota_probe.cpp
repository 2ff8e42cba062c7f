// IsItemInstallable in a process of its own, as the machine-wide rollout settings
// are read once per process. Exit code: bit i for the i-th installable section; 255: no module.
#include <windows.h>

int main(int argc, char** argv)
{
    // The module beside this program: the application folder is searched first.
    HMODULE module = LoadLibraryA("nvinfo.dll");
    typedef bool(__cdecl * IsItemInstallable)(const char*, const char*);
    auto installable = module ? reinterpret_cast<IsItemInstallable>(reinterpret_cast<void*>(
                                    GetProcAddress(module, "IsItemInstallable")))
                              : nullptr;
    if (argc < 3 || !installable)
        return 255;
    int result = 0;
    for (int i = 2; i < argc && i < 10; ++i) {
        if (installable(argv[1], argv[i]))
            result |= 1 << (i - 2);
    }
    return result;
}
