// The update manager's settings file in the prefix's real all-users folder,
// written for one test and put back as it was found afterwards (content and
// the folders above it).
#pragma once

#include <string>
#include <vector>

class UpdateManagerConfigFile {
public:
    UpdateManagerConfigFile();
    ~UpdateManagerConfigFile();
    UpdateManagerConfigFile(const UpdateManagerConfigFile&) = delete;
    UpdateManagerConfigFile& operator=(const UpdateManagerConfigFile&) = delete;

    const std::string& Path() const { return m_path; }
    void Write(const std::string& content);
    // No settings file at all for the rest of the test.
    void Remove();

private:
    std::string m_path;
    bool m_existed = false;
    std::string m_saved;
    std::vector<std::string> m_createdFolders;
};

// The update manager's settings document with the two values the module reads.
std::string UpdateManagerConfigXml(const std::string& updateMode, const std::string& lastCheck);

// The local clock moved by `minutes` in the update manager's German notation,
// "dd.mm.yyyy hh:mm:ss", or only "dd.mm.yyyy".
std::string GermanLocalTime(long long minutes, bool withTime = true);
