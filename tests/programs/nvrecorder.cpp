// Stands in for a program the module starts: records the command line it got,
// byte for byte, in "commandline.txt" beside itself. Written under another name
// and then renamed, so a reader never sees half of it.
#include <windows.h>

#include <fstream>
#include <string>

int main()
{
    char self[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return 1;
    std::string folder(self, length);
    folder.erase(folder.find_last_of('\\') + 1);
    const std::string partial = folder + "commandline.tmp";
    if (!(std::ofstream(partial, std::ios::binary) << GetCommandLineA() << std::flush))
        return 1;
    return !MoveFileExA(partial.c_str(), (folder + "commandline.txt").c_str(),
                        MOVEFILE_REPLACE_EXISTING);
}
