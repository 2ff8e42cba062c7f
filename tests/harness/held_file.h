// A file held open by a second process (tests/programs/nvholder.cpp), reading it and sharing it
// with `share` (FILE_SHARE_* bits). Opened here and inherited, the holder has it from its first
// instant and this process keeps no handle. The holder ends with the object, or after a minute.
#pragma once

#include "harness/child_process.h"
#include "harness/module_paths.h"

#include <windows.h>

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
        m_holder.reset(new ChildProcess(OutputFile("nvholder.exe"), "60000", nullptr, site));
        CloseHandle(file);
    }

private:
    // Ended with the object; the file is free once the holder is gone.
    std::unique_ptr<ChildProcess> m_holder;
};
