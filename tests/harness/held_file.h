// A file held open by a second program of the desktop (a stand-in application, as a reader or a
// virus scanner holds it), reading it and sharing it with `share` (FILE_SHARE_* bits). Opened
// here and inherited, the holder has it from its first instant and this process keeps no handle.
// The holder is ended with the object.
#pragma once

#include "harness/target_process.h"

#include <gtest/gtest.h>

#include <memory>

class HeldFile {
public:
    HeldFile(const std::string& path, DWORD share, CallSite site = {})
    {
        SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
        HANDLE file =
            CreateFileA(path.c_str(), GENERIC_READ, share, &inherited, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            ADD_FAILURE_AT(site.file, site.line) << "cannot open " << path;
        m_holder.reset(new ChildProcess(TargetProgram(), "NvHolder holder", nullptr, site));
        CloseHandle(file);
    }

private:
    std::unique_ptr<ChildProcess> m_holder;
};
