// The host tool (nvhost) calling one export in a process of its own, as a
// program of the suite that loads the module afresh would.
#pragma once

#include <windows.h>

#include <string>

// What the tool printed, then "exit code N" on a line of its own. The tool is
// ended after a minute (exit code 99). With `peak`, the highest peak working
// set seen while it ran (sampled: the process is gone after its exit).
// `program`: another tool built beside it, run the same way.
std::string RunHostTool(const std::string& arguments, SIZE_T* peak = nullptr,
                        const char* program = "nvhost.exe");
