// Key writes into INI files collected and applied in one pass per file. The
// platform's WritePrivateProfileStringA rewrites the whole file on every call
// (measured under Wine: 4,000 writes into a file of 2,000 sections take ~37 s,
// quadratic in the file size), and a file written key by key is left half
// done when the writer stops part-way. A batch writes each file's new text
// into a temporary file in the same folder and swaps it in only when complete.
#pragma once

#include "download/ini_text_edit.h"

#include <windows.h>

#include <string>
#include <vector>

namespace nv {

// Writes one key: into the batch that is collecting on this thread, if any,
// else at once through the platform. The platform's success, or TRUE when
// the key was collected.
BOOL WriteProfileKey(const std::string& path, const std::string& section, const std::string& key,
                     const std::string& value);

// Collects the WriteProfileKey calls of its thread while it lives (batches
// nest: the innermost collects) and applies them at Apply or destruction.
class CIniBatchWriter {
public:
    CIniBatchWriter();
    ~CIniBatchWriter();
    CIniBatchWriter(const CIniBatchWriter&) = delete;
    CIniBatchWriter& operator=(const CIniBatchWriter&) = delete;

    void Add(const std::string& path, const std::string& section, const std::string& key,
             const std::string& value);
    // Applies what was collected, file by file in the order the files were
    // first written, and empties the batch. False when a file could not be
    // written; that file keeps its old text.
    bool Apply();

    static CIniBatchWriter* Current();

private:
    struct FileWrites {
        std::string path;
        std::string foldedPath;
        std::vector<IniWrite> writes;
    };

    std::vector<FileWrites> m_files;
    CIniBatchWriter* m_outer;
};

// The writes applied to one file at once (temporary file, then replace).
// Files the text edit cannot take exactly (missing, byte order mark, ...)
// get the platform's writes one by one instead.
bool WriteIniFile(const std::string& path, const std::vector<IniWrite>& writes);

} // namespace nv
