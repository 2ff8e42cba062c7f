#include "support/file_replace.h"

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

} // namespace

ReplaceOutcome ReplaceFileContent(const std::string& path, const char* prefix,
                                  const std::function<bool(const char* temporary)>& write)
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
        DWORD error = GetLastError();
        DeleteFileA(temporary);
        return Failed(ReplaceStep::Write, error);
    }
    if (!MoveFileExA(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DWORD error = GetLastError();
        DeleteFileA(temporary);
        return Failed(ReplaceStep::Replace, error);
    }
    return ReplaceOutcome();
}

} // namespace nv
