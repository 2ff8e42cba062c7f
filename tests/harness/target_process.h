// A stand-in application (nvtarget, or a copy of it under another name)
// started for one test; terminated if still running when the object goes away.
#pragma once

// Beside this header: the stand-in program includes it by its path.
#include "child_process.h"

#include <windows.h>

#include <string>

// nvtarget.exe of the build, and its exit codes.
std::string TargetProgram();
const DWORD kTargetTerminated = 0;
const DWORD kTargetClosed = 10; // plus wParam of the WM_CLOSE
const DWORD kTargetQuitInLoop = 20;
const DWORD kTargetQuitSent = 30;
const DWORD kTargetEndedItself = 40;

class TargetProcess : public ChildProcess {
public:
    // Starts `program` with nvtarget's `options` and waits for its window,
    // titled `tag` and this process's id (a test failure at `site` if none comes).
    explicit TargetProcess(const std::string& tag, const std::string& options = "",
                           const std::string& program = TargetProgram(), CallSite site = {});
};
