#include "update_manager_config.h"

#include "harness/temp_folder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace {

std::string AllUsersFolder()
{
    char folder[MAX_PATH] = "";
    EXPECT_NE(0u, ExpandEnvironmentStringsA("%ProgramData%", folder, MAX_PATH));
    return folder;
}

void WriteFile(const std::string& path, const std::string& content)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    EXPECT_TRUE(out.good()) << "cannot write " << path;
}

} // namespace

UpdateManagerConfigFile::UpdateManagerConfigFile()
{
    const std::string base = AllUsersFolder();
    std::string folder = base;
    for (const char* level : {"Norvane", "Update Manager", "Daten"}) {
        folder += "\\";
        folder += level;
        if (CreateDirectoryA(folder.c_str(), nullptr))
            m_createdFolders.push_back(folder);
    }
    m_path = folder + "\\updatemanager-config.xml";
    m_existed = FileExists(m_path);
    if (m_existed)
        m_saved = ReadWholeFile(m_path);
}

UpdateManagerConfigFile::~UpdateManagerConfigFile()
{
    if (m_existed)
        WriteFile(m_path, m_saved);
    else
        DeleteFileA(m_path.c_str());
    for (auto folder = m_createdFolders.rbegin(); folder != m_createdFolders.rend(); ++folder)
        RemoveDirectoryA(folder->c_str());
}

void UpdateManagerConfigFile::Write(const std::string& content) { WriteFile(m_path, content); }

void UpdateManagerConfigFile::Remove()
{
    DeleteFileA(m_path.c_str());
    ASSERT_FALSE(FileExists(m_path)) << m_path;
}

std::string UpdateManagerConfigXml(const std::string& updateMode, const std::string& lastCheck)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<UpdateManagerConfig>\r\n"
           "  <UpdateMode>" + updateMode + "</UpdateMode>\r\n"
           "  <LastSuccessfulCheck>" + lastCheck + "</LastSuccessfulCheck>\r\n"
           "</UpdateManagerConfig>\r\n";
}

std::string GermanLocalTime(long long minutes, bool withTime)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    FILETIME stamp;
    SystemTimeToFileTime(&now, &stamp);
    ULARGE_INTEGER ticks;
    ticks.LowPart = stamp.dwLowDateTime;
    ticks.HighPart = stamp.dwHighDateTime;
    ticks.QuadPart += minutes * 60LL * 10000000LL;
    stamp.dwLowDateTime = ticks.LowPart;
    stamp.dwHighDateTime = ticks.HighPart;
    SYSTEMTIME moved;
    FileTimeToSystemTime(&stamp, &moved);
    char text[32];
    if (withTime)
        snprintf(text, sizeof text, "%02u.%02u.%04u %02u:%02u:%02u", moved.wDay, moved.wMonth,
                 moved.wYear, moved.wHour, moved.wMinute, moved.wSecond);
    else
        snprintf(text, sizeof text, "%02u.%02u.%04u", moved.wDay, moved.wMonth, moved.wYear);
    return text;
}
