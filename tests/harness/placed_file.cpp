#include "harness/placed_file.h"

#include "harness/temp_folder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>

PlacedFile::PlacedFile(const std::string& path, CallSite site) : m_path(path)
{
    for (size_t slash = path.find('\\', 3); slash != std::string::npos;
         slash = path.find('\\', slash + 1)) {
        const std::string folder = path.substr(0, slash);
        if (CreateDirectoryA(folder.c_str(), nullptr) && m_madeFolder.empty())
            m_madeFolder = folder;
        else if (!FileExists(folder))
            ADD_FAILURE_AT(site.file, site.line) << "cannot make " << folder;
    }
    m_existed = FileExists(path);
    m_saved = m_existed ? ReadWholeFile(path) : "";
}

PlacedFile::~PlacedFile()
{
    if (m_existed)
        Write(m_saved);
    else
        Remove();
    if (!m_madeFolder.empty())
        RemoveTree(m_madeFolder);
}

void PlacedFile::Write(const std::string& content, CallSite site) const
{
    if (!(std::ofstream(m_path, std::ios::binary) << content).good())
        ADD_FAILURE_AT(site.file, site.line) << "cannot write " << m_path;
}

void PlacedFile::Remove() const
{
    // A program started from the file may still be ending.
    for (int tries = 0; tries < 250 && FileExists(m_path) && !DeleteFileA(m_path.c_str()); ++tries)
        Sleep(20);
}
