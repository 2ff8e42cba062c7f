// A file held open by a second process (tests/programs/nvholder.cpp), reading it and sharing it
// with `share` (FILE_SHARE_* bits). Opened here and inherited, the holder has it from its first
// instant and this process keeps no handle. The holder ends with the object, or after a minute.
#pragma once

#include "harness/module_paths.h"

#include <windows.h>

#include <gtest/gtest.h>

class HeldFile {
public:
    HeldFile(const std::string& path, DWORD share)
    {
        SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, share, &inherited, OPEN_EXISTING,
                                  0, nullptr);
        EXPECT_NE(INVALID_HANDLE_VALUE, file) << path;
        std::string command = "\"" + OutputFile("nvholder.exe") + "\" 60000";
        STARTUPINFOA startup = {sizeof startup};
        PROCESS_INFORMATION info = {};
        EXPECT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr,
                                   nullptr, &startup, &info)) << command;
        CloseHandle(file);
        CloseHandle(info.hThread);
        m_process = info.hProcess;
    }
    ~HeldFile()
    {
        TerminateProcess(m_process, 0);
        // Generous for a loaded machine; the file is free once the holder is gone.
        WaitForSingleObject(m_process, 30000);
        CloseHandle(m_process);
    }

private:
    HANDLE m_process = nullptr;
};
