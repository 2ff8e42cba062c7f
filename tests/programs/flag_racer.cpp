// flag_racer <new.ndc> <old.ndc> <tag> <rounds>: per round an UpdateAsDownloaded into
// section <tag><round> of the new file and a MergeNdc of the two, while another racer does
// the same. Exit code: the number of calls that reported a failure; 255 without the module.
#include <windows.h>

#include <cstdlib>
#include <string>

typedef int(__cdecl* UpdateFlag)(const char*, const char*, int);
typedef int(__cdecl* MergeNdc)(const char*, const char*);

int main(int argc, char** argv)
{
    HMODULE module = LoadLibraryA("nvinfo.dll");
    void* flag = module ? reinterpret_cast<void*>(GetProcAddress(module, "UpdateAsDownloaded")) : 0;
    void* merge = module ? reinterpret_cast<void*>(GetProcAddress(module, "MergeNdc")) : 0;
    if (argc < 5 || !flag || !merge)
        return 255;
    int failures = 0;
    for (int round = 0; round < std::atoi(argv[4]); ++round) {
        const std::string section = argv[3] + std::to_string(round);
        failures += reinterpret_cast<UpdateFlag>(flag)(section.c_str(), argv[1], 1) != 0;
        failures += reinterpret_cast<MergeNdc>(merge)(argv[1], argv[2]) != 0;
    }
    return failures;
}
