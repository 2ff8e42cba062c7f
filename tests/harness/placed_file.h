// A file at a fixed place outside the test's own folders (the update manager's settings, the
// module's profile, a program in the suite's folder): the missing folders on its way are made,
// and when the object goes away the file is as it was, and the highest folder made for it is
// gone with everything the test or the module put in it.
#pragma once

#include "harness/call_site.h"

#include <string>

class PlacedFile {
public:
    explicit PlacedFile(const std::string& path, CallSite site = {});
    ~PlacedFile();
    PlacedFile(const PlacedFile&) = delete;
    PlacedFile& operator=(const PlacedFile&) = delete;

    const std::string& Path() const { return m_path; }
    void Write(const std::string& content, CallSite site = {}) const;
    void Remove() const;

private:
    std::string m_path, m_saved, m_madeFolder;
    bool m_existed = false;
};
