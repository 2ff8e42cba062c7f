#include "support/file_write_lock.h"

#include "support/text.h"

#include <cstdint>

namespace nv {

namespace {

const char* const kLockNamePrefix = "nvinfo-file-lock:";
// Object names may be as long as a path; keep room for the prefix.
const size_t kMaxLockNameLength = MAX_PATH - 1;
const size_t kKeptPathTail = 96;

uint64_t Fnv1a(const std::string& text)
{
    uint64_t hash = 14695981039346656037ULL;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ULL;
    }
    return hash;
}

// The path made absolute; a path that cannot be is taken as given.
std::string FullPath(const std::string& path)
{
    char full[MAX_PATH] = {};
    DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    if (length == 0 || length >= MAX_PATH)
        return path;
    return std::string(full, length);
}

// The path as the file system resolves it: absolute, long names where the
// file exists.
std::string ResolvedPath(const std::string& path)
{
    const std::string full = FullPath(path);
    char longName[MAX_PATH] = {};
    DWORD longLength = GetLongPathNameA(full.c_str(), longName, MAX_PATH);
    if (longLength > 0 && longLength < MAX_PATH)
        return std::string(longName, longLength);
    return full;
}

// What names the lock of `path`: the folder's final path and the file's long
// name (as stored, when the file exists), else the resolved path. The long
// path is asked for only where it is the key: the final path and the stored
// name stand for every spelling already, and Wine answers it by searching
// every folder along the path (about 1 ms).
std::string LockKey(const std::string& path)
{
    const std::string full = FullPath(path);
    size_t separator = full.find_last_of("\\/");
    if (separator == std::string::npos || separator + 1 == full.size())
        return ResolvedPath(path);
    std::string name = full.substr(separator + 1);
    // Only a short alias differs from the stored name by more than case, and
    // the platform makes every alias with a "~": other names are looked up
    // for nothing (under Wine the lookup reads the whole folder, 0.2 ms).
    WIN32_FIND_DATAA found;
    HANDLE search = name.find('~') == std::string::npos ? INVALID_HANDLE_VALUE
                                                        : FindFirstFileA(full.c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        FindClose(search);
        name = found.cFileName;
    }
    // With its separator: "C:" alone names the drive's current folder.
    HANDLE folder = CreateFileA(full.substr(0, separator + 1).c_str(), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder == INVALID_HANDLE_VALUE)
        return ResolvedPath(path);
    std::string resolved(MAX_PATH, '\0');
    DWORD length = GetFinalPathNameByHandleA(folder, &resolved[0], MAX_PATH, 0);
    if (length >= MAX_PATH) {
        resolved.assign(length, '\0');
        length = GetFinalPathNameByHandleA(folder, &resolved[0], length, 0);
    }
    CloseHandle(folder);
    if (length == 0 || length >= resolved.size())
        return ResolvedPath(path);
    resolved.resize(length);
    // Without the long-path prefix, so that where the folder cannot be opened
    // by one caller the resolved path it falls back to is the same key.
    if (resolved.compare(0, 8, "\\\\?\\UNC\\") == 0)
        resolved.replace(0, 8, "\\\\");
    else if (resolved.compare(0, 4, "\\\\?\\") == 0)
        resolved.erase(0, 4);
    if (!resolved.empty() && resolved.back() != '\\')
        resolved += '\\';
    return resolved + name;
}

} // namespace

std::string FileWriteLockName(const std::string& key)
{
    std::string folded = ToLower(key);
    for (char& c : folded)
        if (c == '\\')
            c = '/';
    std::string name = kLockNamePrefix + folded;
    if (name.size() <= kMaxLockNameLength)
        return name;
    return kLockNamePrefix +
           FormatText("%016llx:", static_cast<unsigned long long>(Fnv1a(folded))) +
           folded.substr(folded.size() - kKeptPathTail);
}

CFileWriteLock::CFileWriteLock(const std::string& path, DWORD timeoutMs)
{
    m_mutex = CreateMutexA(nullptr, FALSE, FileWriteLockName(LockKey(path)).c_str());
    if (!m_mutex) {
        m_error = GetLastError() != ERROR_SUCCESS ? GetLastError() : ERROR_INVALID_HANDLE;
        return;
    }
    // An abandoned mutex is ours now: its holder died, and since every writer
    // replaces the file whole, what it left is a complete file.
    DWORD wait = WaitForSingleObject(m_mutex, timeoutMs);
    m_held = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
    if (!m_held)
        m_error = wait == WAIT_TIMEOUT ? ERROR_TIMEOUT : GetLastError();
}

CFileWriteLock::~CFileWriteLock()
{
    if (m_held)
        ReleaseMutex(m_mutex);
    if (m_mutex)
        CloseHandle(m_mutex);
}

} // namespace nv
