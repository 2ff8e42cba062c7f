#include "news/news_files.h"

#include "frame/constants.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <direct.h>
#include <io.h>

#include <cstring>

namespace nv {

std::string CombinePath(const std::string& folder, const std::string& name)
{
    // Parts come from feed indexes and callers; texts that cannot fit are
    // refused here so that no version of PathCombineA copies them anywhere.
    if (folder.size() + name.size() + 1 >= MAX_PATH)
        return std::string();
    char path[MAX_PATH] = {};
    if (!PathCombineA(path, folder.c_str(), name.c_str()))
        return std::string();
    return path;
}

void CreateFolderChain(const std::string& path)
{
    char work[MAX_PATH] = {};
    if (path.size() >= MAX_PATH)
        return;
    std::memcpy(work, path.c_str(), path.size());
    size_t length = path.size();
    if (length > 0 && (work[length - 1] == '\\' || work[length - 1] == '/'))
        work[--length] = '\0';
    for (size_t i = 0; i < length; ++i) {
        if (work[i] != '\\' && work[i] != '/')
            continue;
        work[i] = '\0';
        if (work[0] != '\0' && _access(work, 0) == -1)
            _mkdir(work);
        work[i] = '\\';
    }
    if (_access(work, 0) == -1)
        _mkdir(work);
}

std::string GetNewsStateFilePath(const std::string& feedPath)
{
    std::string folder = GetNewsStateFolder();
    return folder.empty() ? folder : NewsStateFilePathIn(folder, feedPath);
}

std::string GetNewsStateFolder()
{
    char path[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathA(nullptr, path, CSIDL_APPDATA, TRUE) ||
        !PathAppendA(path, nv::kNewsStateFolder))
        return std::string();
    if (_access(path, 0) == -1)
        CreateFolderChain(path);
    return path;
}

std::string NewsStateFilePathIn(const std::string& stateFolder, const std::string& feedPath)
{
    char path[MAX_PATH] = {};
    if (stateFolder.size() >= MAX_PATH)
        return std::string();
    std::memcpy(path, stateFolder.c_str(), stateFolder.size());
    std::string fileName =
        std::string(PathFindFileNameA(feedPath.c_str())) + nv::kNewsStateExtension;
    if (fileName.size() >= MAX_PATH || !PathAppendA(path, fileName.c_str()))
        return std::string();
    return path;
}

} // namespace nv
