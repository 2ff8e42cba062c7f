#include "harness/temp_folder.h"

#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

TempFolder::TempFolder(CallSite site)
{
    char base[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, base);
    static int counter = 0;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        m_path = base + ("nvtest-" + std::to_string(GetCurrentProcessId())) + "-" +
                 std::to_string(++counter);
        if (CreateDirectoryA(m_path.c_str(), nullptr))
            return;
    }
    m_path.clear();
    ADD_FAILURE_AT(site.file, site.line) << "cannot create a temporary folder";
}

TempFolder::~TempFolder()
{
    if (!m_path.empty())
        RemoveTree(m_path);
}

std::string TempFolder::Write(const std::string& name, const std::string& content,
                              CallSite site) const
{
    std::string path = File(name);
    for (size_t slash = path.find('\\', m_path.size() + 1); slash != std::string::npos;
         slash = path.find('\\', slash + 1))
        CreateDirectoryA(path.substr(0, slash).c_str(), nullptr);
    if (!(std::ofstream(path, std::ios::binary) << content).good())
        ADD_FAILURE_AT(site.file, site.line) << "cannot write " << path;
    return path;
}

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveTree(const std::string& path)
{
    // The shell's delete takes the folder with everything below it; the
    // source list ends with two zeros.
    std::string from = path + '\0';
    SHFILEOPSTRUCTA operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_NO_UI;
    SHFileOperationA(&operation);
}
