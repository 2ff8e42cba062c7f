#include "harness/host_tool.h"

#include "harness/child_process.h"
#include "harness/module_paths.h"
#include "harness/temp_folder.h"

#include <psapi.h>

#include <algorithm>

std::string RunHostTool(const std::string& arguments, SIZE_T* peak, const char* program)
{
    TempFolder folder;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE output = CreateFileA(folder.File("host.out").c_str(), GENERIC_WRITE, 0, &inherit,
                                CREATE_ALWAYS, 0, nullptr);
    ChildProcess host(OutputFile(program), arguments, output);
    PROCESS_MEMORY_COUNTERS counters = {};
    for (ULONGLONG end = GetTickCount64() + 60000;
         host.WaitForExit(20) == STILL_ACTIVE && GetTickCount64() < end;) {
        if (peak && K32GetProcessMemoryInfo(host.Handle(), &counters, sizeof counters))
            *peak = std::max(*peak, counters.PeakWorkingSetSize);
    }
    const DWORD code = host.Finish(0, 99);
    CloseHandle(output);
    return ReadWholeFile(folder.File("host.out")) + "\nexit code " + std::to_string(code);
}
