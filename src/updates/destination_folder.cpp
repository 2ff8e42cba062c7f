#include "updates/destination_folder.h"

#include "download/download_item.h"
#include "frame/registry_path.h"
#include "support/text.h"

#include <windows.h>

#include <direct.h>
#include <io.h>

namespace nv {

namespace {

bool IsMarker(char c) { return c == '-' || c == '/' || c == '_'; }

bool EndsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// "path value[;subfolder]": a value naming a program gives the program's
// folder; a subfolder, even an empty one, is joined with a backslash.
std::string RegistryFolder(const std::string& rest)
{
    std::string pathValue;
    nv::ExtractSubString(pathValue, rest, 0, ';');
    std::string folder = nv::ToLower(ReadRegistryPathValue(pathValue, std::string()));
    if (EndsWith(folder, "exe")) {
        size_t backslash = folder.rfind('\\');
        folder = backslash == std::string::npos ? std::string() : folder.substr(0, backslash);
    }
    std::string subfolder;
    if (nv::ExtractSubString(subfolder, rest, 1, ';')) {
        if (!EndsWith(folder, "\\"))
            folder += '\\';
        folder += subfolder;
    }
    return folder;
}

// The system or Windows directory; only when it cannot be had, the NDC
// file's folder with the rest of the value glued on.
std::string WindowsFolder(bool system, const std::string& rest, const std::string& ndcPath)
{
    // The directory has always been asked for with a declared size of 261
    // into a larger buffer; a longer answer leaves the buffer unfilled.
    const UINT declared = MAX_PATH + 1;
    char buffer[2 * MAX_PATH] = {0};
    UINT length =
        system ? GetSystemDirectoryA(buffer, declared) : GetWindowsDirectoryA(buffer, declared);
    if (length == 0 || length >= declared)
        return FolderOfNdcFile(ndcPath) + rest;
    return buffer;
}

std::string FolderFromValue(const std::string& destination, const std::string& ndcPath)
{
    if (!IsMarker(destination[0]))
        return destination;
    char kind = destination.size() > 1 ? destination[1] : '\0';
    std::string rest = destination.size() > 2 ? destination.substr(2) : std::string();
    switch (kind) {
    case 'R':
    case 'r':
        return RegistryFolder(rest);
    case 'S':
    case 's':
        return WindowsFolder(true, rest, ndcPath);
    case 'W':
    case 'w':
        return WindowsFolder(false, rest, ndcPath);
    default:
        return std::string();
    }
}

} // namespace

std::string FolderOfNdcFile(const std::string& ndcPath)
{
    size_t separator = ndcPath.find_last_of("\\/");
    return separator == std::string::npos ? std::string() : ndcPath.substr(0, separator);
}

std::string ResolveDestinationFolder(CDownloadItem& item, std::unordered_set<std::string>& present)
{
    std::string destination = item.GetDestination();
    std::string folder;
    if (!destination.empty())
        folder = FolderFromValue(destination, item.GetNdcFile());
    if (folder.empty())
        folder = FolderOfNdcFile(item.GetNdcFile());
    // A folder that could not be made is tried again for the next item, as
    // an item before it may have made its parent.
    if (!present.count(folder) && (_access(folder.c_str(), 0) == 0 || _mkdir(folder.c_str()) == 0))
        present.insert(folder);
    return folder;
}

} // namespace nv
