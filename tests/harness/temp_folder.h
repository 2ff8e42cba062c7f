// A folder of its own for one test, below the prefix's temporary folder,
// removed with everything in it when the object goes away.
#pragma once

#include "harness/call_site.h"

#include <string>

class TempFolder {
public:
    // A folder that cannot be made fails the test at `site`.
    explicit TempFolder(CallSite site = {});
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return m_path; }
    // Path of `name` inside the folder (backslash-joined).
    std::string File(const std::string& name) const { return m_path + "\\" + name; }
    // Writes `content` byte for byte; creates missing subfolders of `name`.
    std::string Write(const std::string& name, const std::string& content,
                      CallSite site = {}) const;

private:
    std::string m_path;
};

// Whole-file helpers for tests.
std::string ReadWholeFile(const std::string& path);
bool FileExists(const std::string& path);
void RemoveTree(const std::string& path);
