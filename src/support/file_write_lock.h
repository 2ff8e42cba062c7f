// Serialises the read-modify-write of one file among all threads and
// processes that go through this module: the suite's programs, the update
// manager and a virus scanner's host may call it for the same NDC or news
// state file at the same moment, and without a lock each would replace the
// file with its own edit of the content it read, losing the other's.
//
// The lock is a named mutex per file, named after the folded full path, so
// every spelling of a path (case, "..", short names) meets the same mutex.
// Windows mutexes are re-entrant for their owning thread: an operation that
// holds the lock may call code that takes it again.
#pragma once

#include <windows.h>

#include <string>

namespace nv {

// Long enough for a merge of a large NDC file by another caller to end, short
// enough that a caller blocked by a hung holder learns of it soon.
const DWORD kFileWriteLockTimeoutMs = 5000;

// The mutex name for a full path (pure): "nvinfo-file-lock:" and the path
// folded to lower case with "/" for "\" (the object namespace takes no
// backslash); a path too long for a name is shortened to a hash of the whole
// and its end.
std::string FileWriteLockName(const std::string& fullPath);

class CFileWriteLock {
public:
    explicit CFileWriteLock(const std::string& path, DWORD timeoutMs = kFileWriteLockTimeoutMs);
    ~CFileWriteLock();
    CFileWriteLock(const CFileWriteLock&) = delete;
    CFileWriteLock& operator=(const CFileWriteLock&) = delete;

    bool IsHeld() const { return m_held; }
    // Why the lock is not held: ERROR_TIMEOUT when the wait ran out, else the
    // system's code for the failed mutex creation.
    DWORD Error() const { return m_error; }

private:
    HANDLE m_mutex = nullptr;
    bool m_held = false;
    DWORD m_error = ERROR_SUCCESS;
};

} // namespace nv
