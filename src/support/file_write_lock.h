// Serialises the read-modify-write of one file among all threads and
// processes that go through this module: the suite's programs, the update
// manager and a virus scanner's host may call it for the same NDC or news
// state file at the same moment, and without a lock each would replace the
// file with its own edit of the content it read, losing the other's.
//
// The lock is a named mutex per file, named after the final path of the
// file's folder, as the file system resolves an open folder (long names,
// links and substituted drives followed, a share's drive letter as its UNC
// name), and the file's folded long name, so every spelling of a path (case,
// "..", short names, a share's UNC and drive-letter names) meets the same
// mutex. Not the file's own identity: every write replaces the file with a
// new one, and a caller that arrived after a replace would take another lock
// than one still waiting for the old file. Not the folder's identity (volume
// serial number and file index) either, which named the lock before: under
// Wine the serial number is asked of another process (0.4 ms a lock). A
// folder that cannot be opened names the lock by the folded full path.
// Windows mutexes are re-entrant for their owning thread: an operation that
// holds the lock may call code that takes it again.
//
// The name lives in the session's namespace, not the machine's ("Global\"):
// the writers it orders are the programs of one desktop; in the global
// namespace any user of the machine could hold or pre-create the lock of a
// file it cannot even write, and a mutex made by one user refuses another
// user's open, so every write of the others would fail. Programs of another
// session writing the same file still meet the write-back's check that the
// file holds the text it edited.
#pragma once

#include <windows.h>

#include <string>

namespace nv {

// Long enough for a merge of a large NDC file by another caller to end, short
// enough that a caller blocked by a hung holder learns of it soon.
const DWORD kFileWriteLockTimeoutMs = 5000;

// The mutex name for a key, a full path or a folder identity and file name
// (pure): "nvinfo-file-lock:" and the key folded to lower case with "/" for
// "\" (the object namespace takes no backslash); a key too long for a name
// is shortened to a hash of the whole and its end.
std::string FileWriteLockName(const std::string& key);

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
