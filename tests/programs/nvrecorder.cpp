// Stands in for a program the module starts: records the command line it got,
// byte for byte, in "commandline.txt" beside itself. Written under another name
// and then renamed, so a reader never sees half of it.
#include <windows.h>

#include <cstring>
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
    HANDLE file = CreateFileA(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    const char* commandLine = GetCommandLineA();
    DWORD written = 0;
    BOOL ok = WriteFile(file, commandLine, static_cast<DWORD>(std::strlen(commandLine)), &written,
                        nullptr);
    CloseHandle(file);
    return ok && MoveFileExA(partial.c_str(), (folder + "commandline.txt").c_str(),
                             MOVEFILE_REPLACE_EXISTING)
               ? 0
               : 1;
}
