#include "updates/update_manager_launch.h"

#include "frame/constants.h"
#include "frame/registry_path.h"
#include "support/file_status.h"
#include "support/message_box.h"
#include "support/text.h"

#include <shlwapi.h>

namespace nv {

const char* const kUpdateManagerFolderPathValue =
    "HKLM\\Software\\Norvane\\Gemeinsame Dateien\\Update Manager\\Verzeichnisse\\Prog";
const char* const kUpdateManagerFolderDefault =
    "C:\\Programme\\Gemeinsame Dateien\\Norvane\\Update Manager";

namespace {

const int kNotFound = -1;
const int kStartFailed = -2;

const char* const kPageParts[] = {" /page:Update", " /page:News", " /page:Config"};

std::string ProgramPathIn(const std::string& folder)
{
    char path[MAX_PATH] = {};
    if (PathCombineA(path, folder.c_str(), kUpdateManagerProgram))
        return path;
    // Too long for a path buffer: it names no file, but the message still shows it.
    return folder + "\\" + kUpdateManagerProgram;
}

bool SearchProgram(std::string& found)
{
    char path[MAX_PATH] = {};
    char* filePart = nullptr;
    DWORD length = SearchPathA(nullptr, kUpdateManagerProgram, nullptr, MAX_PATH, path, &filePart);
    if (length == 0 || length >= MAX_PATH)
        return false;
    found.assign(path, length);
    return true;
}

} // namespace

std::string UpdateManagerArguments(int page, const std::string& product, const std::string& item)
{
    std::string arguments;
    if (!product.empty())
        arguments += "/product:" + product;
    if (page >= 0 && page < 3)
        arguments += kPageParts[page];
    if (!item.empty())
        arguments += " /item:" + item;
    return arguments;
}

int ShowUpdateManagerItem(int page, const char* product, const char* item)
{
    const std::string registered = nv::ProgramPathIn(
        ReadRegistryPathValue(nv::kUpdateManagerFolderPathValue, nv::kUpdateManagerFolderDefault));
    std::string program = registered;
    if (!nv::HasFileStatus(program) && !nv::SearchProgram(program)) {
        nv::AppMessageBox(nv::FormatText("Die Datei %s ist nicht vorhanden.", registered.c_str()),
                          MB_OK | MB_ICONEXCLAMATION);
        return nv::kNotFound;
    }
    std::string commandLine =
        program + " " +
        nv::UpdateManagerArguments(page, nv::FromNullable(product), nv::FromNullable(item));
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    // The program path is named as the application too: unquoted, a path with
    // blanks would otherwise let the system start "C:\Programme\Gemeinsame.exe"
    // first. The command line itself stays as the update manager expects it.
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE,
                        NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup, &started))
        return nv::kStartFailed;
    CloseHandle(started.hProcess);
    CloseHandle(started.hThread);
    return 0;
}

} // namespace nv
