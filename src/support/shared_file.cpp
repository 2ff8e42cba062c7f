#include "support/shared_file.h"

#include <iterator>
#include <new>

namespace nv {

namespace {

bool Fail(DWORD code, DWORD* error)
{
    if (error)
        *error = code != ERROR_SUCCESS ? code : ERROR_READ_FAULT;
    return false;
}

bool IsHeldByAnother(DWORD code)
{
    return code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION;
}

// One attempt: ERROR_SUCCESS or the system's code.
DWORD ReadOnce(const std::string& path, std::string& content, unsigned long long maxBytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError() != ERROR_SUCCESS ? GetLastError() : ERROR_OPEN_FAILED;
    LARGE_INTEGER size{};
    DWORD code = ERROR_SUCCESS;
    if (!GetFileSizeEx(file, &size))
        code = GetLastError();
    else if (static_cast<unsigned long long>(size.QuadPart) > maxBytes)
        code = ERROR_FILE_TOO_LARGE;
    if (code == ERROR_SUCCESS) {
        try {
            content.assign(static_cast<size_t>(size.QuadPart), '\0');
        } catch (const std::bad_alloc&) {
            code = ERROR_NOT_ENOUGH_MEMORY;
        }
    }
    DWORD read = 0;
    if (code == ERROR_SUCCESS && !content.empty() &&
        !ReadFile(file, &content[0], static_cast<DWORD>(content.size()), &read, nullptr))
        code = GetLastError();
    CloseHandle(file);
    // A file that shrank while we read it: keep what was there.
    if (code == ERROR_SUCCESS)
        content.resize(content.empty() ? 0 : read);
    return code;
}

} // namespace

bool ReadSharedFile(const std::string& path, std::string& content, DWORD* error,
                    unsigned long long maxBytes)
{
    for (size_t attempt = 0;; ++attempt) {
        DWORD code = ReadOnce(path, content, maxBytes);
        if (code == ERROR_SUCCESS)
            return true;
        if (!IsHeldByAnother(code) || attempt == std::size(kHeldFileRetryDelaysMs))
            return Fail(code, error);
        Sleep(kHeldFileRetryDelaysMs[attempt]);
    }
}

bool WriteWholeFile(const std::string& path, const std::string& content)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return file != INVALID_HANDLE_VALUE && WriteAndClose(file, content);
}

bool WriteAndClose(HANDLE file, const std::string& content)
{
    DWORD written = 0;
    // The end is set after the write: one that fails keeps the old text's tail, not nothing.
    bool ok =
        (content.empty() ||
         (WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
          written == content.size())) &&
        SetEndOfFile(file) && FlushFileBuffers(file);
    DWORD code = ok ? ERROR_SUCCESS : GetLastError();
    ok = CloseHandle(file) && ok;
    if (!ok)
        SetLastError(code != ERROR_SUCCESS ? code : ERROR_WRITE_FAULT);
    return ok;
}

} // namespace nv
