#include "support/file_replace.h"

#include <iterator>

namespace nv {

namespace {

// A reader or a virus scanner that holds the file without delete sharing is
// usually gone a moment later; a caller waiting for a merge is not kept long.
const DWORD kRetryDelaysMs[] = {10, 20, 40, 80, 160};

std::string FolderOf(const std::string& path)
{
    size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? std::string(".") : path.substr(0, separator);
}

ReplaceOutcome Failed(ReplaceStep step, DWORD error)
{
    ReplaceOutcome outcome;
    outcome.failedStep = step;
    outcome.error = error != ERROR_SUCCESS ? error : ERROR_WRITE_FAULT;
    return outcome;
}

// Errors of a file that is there but held or protected; anything else means
// that replacing in place does not apply here.
bool IsInTheWay(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ||
           error == ERROR_LOCK_VIOLATION || error == ERROR_UNABLE_TO_REMOVE_REPLACED ||
           error == ERROR_UNABLE_TO_MOVE_REPLACEMENT;
}

// ReplaceFileA keeps the old file's security descriptor and streams, which a
// rename loses. Wine's moves the old file aside before it moves the new one
// in (measured: a reader in another process finds no file for a moment, and
// an empty "rf*.tmp" file stays beside a file it fails to replace); its
// rename is one step and is used there instead. That rename, like Windows'
// own, fails while any handle is open on the file, delete sharing or not.
bool PlatformReplaceApplies()
{
    static const bool applies = !GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version");
    return applies;
}

// One attempt to put `temporary` in the place of `path`: ERROR_SUCCESS or the
// system's code.
DWORD MoveIntoPlace(const char* temporary, const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    bool replaced = PlatformReplaceApplies() &&
                    ReplaceFileA(path.c_str(), temporary, nullptr,
                                 REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS,
                                 nullptr, nullptr);
    if (!replaced) {
        DWORD error = GetLastError();
        if (PlatformReplaceApplies() && IsInTheWay(error))
            return error;
        // No file to replace (a new file, or one that a failed replace moved
        // away: ERROR_UNABLE_TO_MOVE_REPLACEMENT_2), or a file system that
        // cannot: the temporary file is renamed over the path.
        if (!MoveFileExA(temporary, path.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return GetLastError() != ERROR_SUCCESS ? GetLastError() : ERROR_WRITE_FAULT;
    }
    // A renamed file has attributes of its own (and Wine's ReplaceFileA drops
    // them, measured): the old file's are set again.
    if (attributes != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesA(path.c_str(), attributes);
    return ERROR_SUCCESS;
}

} // namespace

ReplaceOutcome ReplaceFileContent(const std::string& path, const char* prefix,
                                  const std::function<bool(const char* temporary)>& write,
                                  const std::function<bool()>& stillCurrent)
{
    char temporary[MAX_PATH] = {};
    if (!GetTempFileNameA(FolderOf(path).c_str(), prefix, 0, temporary))
        return Failed(ReplaceStep::CreateTemporary, GetLastError());
    ReplaceOutcome outcome;
    try {
        SetLastError(ERROR_SUCCESS);
        if (!write(temporary)) {
            outcome = Failed(ReplaceStep::Write, GetLastError());
        } else {
            for (size_t attempt = 0;; ++attempt) {
                if (stillCurrent && !stillCurrent()) {
                    outcome = Failed(ReplaceStep::Changed, ERROR_SUCCESS);
                    break;
                }
                DWORD error = MoveIntoPlace(temporary, path);
                if (error == ERROR_SUCCESS)
                    return ReplaceOutcome();
                if (!IsInTheWay(error) || attempt == std::size(kRetryDelaysMs)) {
                    outcome = Failed(ReplaceStep::Replace, error);
                    break;
                }
                Sleep(kRetryDelaysMs[attempt]);
            }
        }
    } catch (...) {
        DeleteFileA(temporary);
        throw;
    }
    DeleteFileA(temporary);
    return outcome;
}

} // namespace nv
