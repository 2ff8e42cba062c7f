// Key writes into INI files collected and applied in one pass per file. The
// platform's WritePrivateProfileStringA rewrites the whole file on every call
// (measured under Wine: 4,000 writes into a file of 2,000 sections take ~37 s,
// quadratic in the file size), and a file written key by key is left half
// done when the writer stops part-way. A batch writes each file's new text
// into a temporary file in the same folder and swaps it in only when complete.
//
// Every write of this module into an NDC file, batched or single, happens
// under the file's lock (CFileWriteLock), so that callers in other threads and
// processes never replace the file with an edit that misses their writes.
#pragma once

#include "download/ini_snapshot.h"
#include "download/ini_text_edit.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace nv {

// Writes one key at once, as WriteIniFile does. FALSE with the last error set
// when the key is not in the file.
BOOL WriteProfileKey(const std::string& path, const std::string& section, const std::string& key,
                     const std::string& value);

// Collects the key writes its owner hands to it and applies them at Apply.
// What is still collected at destruction is applied then, without a result:
// owners that must learn of a failure call Apply.
class CIniBatchWriter {
public:
    CIniBatchWriter() = default;
    ~CIniBatchWriter() noexcept;
    CIniBatchWriter(const CIniBatchWriter&) = delete;
    CIniBatchWriter& operator=(const CIniBatchWriter&) = delete;

    void Add(const std::string& path, const std::string& section, const std::string& key,
             const std::string& value);
    // The owner holds the lock of `path` until it calls Apply and, when
    // `loaded` is given, read those bytes from it under the lock: writes into
    // it take no lock of their own and edit `loaded` instead of reading and
    // parsing the file again. The check right before the replace still finds
    // a write that a program without the lock made in between, and edits
    // again.
    void Holding(const std::string& path, std::optional<IniSnapshot> loaded);
    // Applies what was collected, file by file in the order the files were
    // first written, and empties the batch. ERROR_SUCCESS, or the system's
    // code for the first file that could not be written.
    DWORD Apply();

private:
    struct FileWrites {
        std::string path;
        std::string spelling;
        std::vector<IniWrite> writes;
        bool locked = false;
        std::optional<IniSnapshot> loaded;
    };

    FileWrites& FileOf(const std::string& path);

    std::vector<FileWrites> m_files;
};

// One key written into `batch`, or at once (WriteProfileKey) when it is null.
// TRUE when the key was collected.
BOOL WriteProfileKeyTo(CIniBatchWriter* batch, const std::string& path, const std::string& section,
                       const std::string& key, const std::string& value);

// The writes applied to one file at once under its lock (temporary file, then
// replace; see WriteBack for when the platform's writes are used instead).
class IniFileAccess;

// The file on disk as WriteIniFile reads, replaces and writes it (without
// its lock), for a caller that steps in between.
std::unique_ptr<IniFileAccess> IniFileOnDisk(const std::string& path);

// ERROR_SUCCESS, or the system's code of the failure: the file then holds
// none of the writes, or those the platform's writes got in before.
DWORD WriteIniFile(const std::string& path, const std::vector<IniWrite>& writes);

} // namespace nv
