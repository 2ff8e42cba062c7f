// The update manager's settings file in the prefix's real all-users folder,
// written for one test and put back as it was found afterwards (content and
// the folders above it).
#pragma once

#include "harness/temp_folder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <ctime>
#include <fstream>
#include <string>
#include <vector>

class UpdateManagerConfigFile {
public:
    UpdateManagerConfigFile()
    {
        char folder[MAX_PATH] = "";
        EXPECT_NE(0u, ExpandEnvironmentStringsA("%ProgramData%", folder, MAX_PATH));
        m_path = folder;
        for (const char* level : {"Norvane", "Update Manager", "Daten"}) {
            m_path += std::string("\\") + level;
            if (CreateDirectoryA(m_path.c_str(), nullptr))
                m_createdFolders.push_back(m_path);
        }
        m_path += "\\updatemanager-config.xml";
        m_existed = FileExists(m_path);
        m_saved = m_existed ? ReadWholeFile(m_path) : "";
    }
    ~UpdateManagerConfigFile()
    {
        if (m_existed)
            Write(m_saved);
        else
            DeleteFileA(m_path.c_str());
        for (auto folder = m_createdFolders.rbegin(); folder != m_createdFolders.rend(); ++folder)
            RemoveDirectoryA(folder->c_str());
    }
    UpdateManagerConfigFile(const UpdateManagerConfigFile&) = delete;
    UpdateManagerConfigFile& operator=(const UpdateManagerConfigFile&) = delete;

    void Write(const std::string& content)
    {
        std::ofstream out(m_path, std::ios::binary | std::ios::trunc);
        out << content;
        EXPECT_TRUE(out.good()) << "cannot write " << m_path;
    }
    void Remove()
    {
        DeleteFileA(m_path.c_str());
        EXPECT_FALSE(FileExists(m_path)) << m_path;
    }

private:
    std::string m_path;
    bool m_existed = false;
    std::string m_saved;
    std::vector<std::string> m_createdFolders;
};

// The settings document with the two values the module reads.
inline std::string UpdateManagerConfigXml(const std::string& updateMode, const std::string& lastCheck)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<UpdateManagerConfig>\r\n  <UpdateMode>" +
           updateMode + "</UpdateMode>\r\n  <LastSuccessfulCheck>" + lastCheck +
           "</LastSuccessfulCheck>\r\n</UpdateManagerConfig>\r\n";
}

// The local clock moved by `minutes` in the update manager's German notation,
// "dd.mm.yyyy hh:mm:ss", or only "dd.mm.yyyy".
inline std::string GermanLocalTime(long long minutes, bool withTime = true)
{
    const time_t moment = time(nullptr) + static_cast<time_t>(minutes * 60);
    char text[32] = "";
    strftime(text, sizeof text, withTime ? "%d.%m.%Y %H:%M:%S" : "%d.%m.%Y", localtime(&moment));
    return text;
}
