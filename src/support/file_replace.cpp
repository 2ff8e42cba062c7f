#include "support/file_replace.h"

#include "support/shared_file.h"

#include <iterator>

namespace nv {

namespace {

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

BOOL ReplaceInPlace(const char* path, const char* replacement)
{
    return ReplaceFileA(path, replacement, nullptr,
                        REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr,
                        nullptr);
}

// ReplaceFileA keeps the old file's security descriptor and streams, which a
// rename loses. Wine's moves the old file aside before it moves the new one
// in (measured: a reader in another process finds no file for a moment, and
// an empty "rf*.tmp" file stays beside a file it fails to replace); its
// rename is one step and is used there instead. That rename, like Windows'
// own, fails while any handle is open on the file, delete sharing or not.
PlatformReplace DefaultReplace()
{
    static const bool applies = !GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version");
    return applies ? ReplaceInPlace : nullptr;
}

// One attempt to put `temporary` in the place of `path`: ERROR_SUCCESS or the
// system's code. `partWay` is set once a replace stopped after the old file
// left its name (ERROR_UNABLE_TO_MOVE_REPLACEMENT: removed,
// ..._REPLACEMENT_2: moved aside): from then on only the temporary file holds
// the content, and it is moved in, never given up.
DWORD MoveIntoPlace(PlatformReplace replace, const char* temporary, const std::string& path,
                    bool& partWay)
{
    if (replace && !partWay) {
        if (replace(path.c_str(), temporary))
            return ERROR_SUCCESS;
        DWORD error = GetLastError();
        partWay = error == ERROR_UNABLE_TO_MOVE_REPLACEMENT ||
                  error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2;
        if (!partWay && IsHeldFileError(error))
            return error;
    }
    // No file to replace (a new file, or one that a failed replace moved
    // away), or a file system that cannot: the temporary file is renamed
    // over the path.
    if (!MoveFileExA(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return GetLastError() != ERROR_SUCCESS ? GetLastError() : ERROR_WRITE_FAULT;
    return ERROR_SUCCESS;
}

// A temporary file in `folder`, named as GetTempFileNameA names one and made
// by the same rule: the number counts on from the clock to the first name no
// file has; made and opened in one step. The name goes to `name`.
HANDLE CreateTemporaryFile(const std::string& folder, const char* prefix, char (&name)[MAX_PATH])
{
    const UINT start = GetTickCount();
    for (UINT step = 0; step < 0x10000; ++step) {
        const UINT unique = (start + step) & 0xFFFF;
        // Zero asks GetTempFileNameA to make the file itself.
        if (unique == 0)
            continue;
        if (!GetTempFileNameA(folder.c_str(), prefix, unique, name))
            return INVALID_HANDLE_VALUE;
        HANDLE file =
            CreateFileA(name, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            return file;
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS &&
            error != ERROR_SHARING_VIOLATION)
            return INVALID_HANDLE_VALUE;
    }
    SetLastError(ERROR_FILE_EXISTS);
    return INVALID_HANDLE_VALUE;
}

// The written `temporary` file put in the place of `path`.
ReplaceOutcome PutInPlace(const std::string& path, const char* temporary,
                          const std::function<bool()>& stillCurrent, PlatformReplace replace)
{
    if (!replace)
        replace = DefaultReplace();
    ReplaceOutcome outcome;
    bool partWay = false;
    try {
        // A renamed file has attributes of its own (and Wine's ReplaceFileA
        // drops them, measured): the old file's are set again.
        const DWORD attributes = GetFileAttributesA(path.c_str());
        for (size_t attempt = 0;; ++attempt) {
            if (!partWay && stillCurrent && !stillCurrent()) {
                outcome = Failed(ReplaceStep::Changed, ERROR_SUCCESS);
                break;
            }
            DWORD error = MoveIntoPlace(replace, temporary, path, partWay);
            if (error == ERROR_SUCCESS) {
                // Set only where they differ: most files keep the archive
                // attribute a new file has anyway.
                if (attributes != INVALID_FILE_ATTRIBUTES &&
                    GetFileAttributesA(path.c_str()) != attributes)
                    SetFileAttributesA(path.c_str(), attributes);
                return ReplaceOutcome();
            }
            if (!IsHeldFileError(error) || attempt == std::size(kHeldFileRetryDelaysMs)) {
                outcome = Failed(ReplaceStep::Replace, error);
                break;
            }
            Sleep(kHeldFileRetryDelaysMs[attempt]);
        }
    } catch (...) {
        if (!partWay)
            DeleteFileA(temporary);
        throw;
    }
    // Part-way, the temporary file may be the only copy of the content left:
    // it stays beside the file instead of being deleted with it.
    if (!partWay)
        DeleteFileA(temporary);
    return outcome;
}

} // namespace

bool IsHeldFileError(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ||
           error == ERROR_LOCK_VIOLATION || error == ERROR_UNABLE_TO_REMOVE_REPLACED;
}

ReplaceOutcome ReplaceFileContent(const std::string& path, const char* prefix,
                                  const std::function<bool(const char* temporary)>& write,
                                  const std::function<bool()>& stillCurrent,
                                  PlatformReplace replace)
{
    char temporary[MAX_PATH] = {};
    if (!GetTempFileNameA(FolderOf(path).c_str(), prefix, 0, temporary))
        return Failed(ReplaceStep::CreateTemporary, GetLastError());
    bool written = false;
    try {
        SetLastError(ERROR_SUCCESS);
        written = write(temporary);
    } catch (...) {
        DeleteFileA(temporary);
        throw;
    }
    if (!written) {
        ReplaceOutcome outcome = Failed(ReplaceStep::Write, GetLastError());
        DeleteFileA(temporary);
        return outcome;
    }
    return PutInPlace(path, temporary, stillCurrent, replace);
}

ReplaceOutcome ReplaceFileBytes(const std::string& path, const char* prefix,
                                const std::string& content,
                                const std::function<bool()>& stillCurrent, PlatformReplace replace)
{
    char temporary[MAX_PATH] = {};
    HANDLE file = CreateTemporaryFile(FolderOf(path), prefix, temporary);
    if (file == INVALID_HANDLE_VALUE)
        return Failed(ReplaceStep::CreateTemporary, GetLastError());
    if (!WriteAndClose(file, content)) {
        ReplaceOutcome outcome = Failed(ReplaceStep::Write, GetLastError());
        DeleteFileA(temporary);
        return outcome;
    }
    return PutInPlace(path, temporary, stillCurrent, replace);
}

} // namespace nv
