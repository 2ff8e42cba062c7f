// flag_racer <new.ndc> <old.ndc> <tag> <rounds>: per round an UpdateAsDownloaded into
// section <tag><round> of the new file and a MergeNdc of the two, while another racer does
// the same. Exit code: the number of calls that reported a failure; 255 without the module.
// flag_racer list <old.ndc> <new.ndc> <name> <out>: releases semaphore <name>.ready, waits for
// event <name>.start, then writes GetUpdates' list of the wanted items into <out>.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

typedef int(__cdecl* UpdateFlag)(const char*, const char*, int);
typedef int(__cdecl* MergeNdc)(const char*, const char*);
typedef BSTR(__cdecl* GetUpdates)(const char*, const char*, int, int, int);

int main(int argc, char** argv)
{
    HMODULE module = LoadLibraryA("nvinfo.dll");
    void* list = module ? reinterpret_cast<void*>(GetProcAddress(module, "GetUpdates")) : 0;
    if (argc == 6 && !std::strcmp(argv[1], "list") && list) {
        const std::string name = argv[4];
        HANDLE start = OpenEventA(SYNCHRONIZE, FALSE, (name + ".start").c_str());
        CoInitialize(nullptr); // started before the race, so both calls meet at the file
        ReleaseSemaphore(OpenSemaphoreA(SEMAPHORE_MODIFY_STATE, 0, (name + ".ready").c_str()), 1,
                         0);
        if (WaitForSingleObject(start, 60000) != WAIT_OBJECT_0)
            return 255;
        BSTR text = reinterpret_cast<GetUpdates>(list)(argv[2], argv[3], 0, 0, 0);
        std::ofstream(argv[5], std::ios::binary) << std::string(text, text + SysStringLen(text));
        return 0;
    }
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
