// Whole files read and written beside other programs' handles: every handle
// shares read, write and delete, so a program that reads or replaces the
// file at the same moment (this module's own callers included) is not
// refused because we happen to hold it.
#pragma once

#include <windows.h>

#include <string>

namespace nv {

// A reader or a virus scanner that holds a file without sharing, or locks a
// range of it, is usually gone a moment later: reads and replaces that such a
// handle refuses are tried again after these pauses (0.3 s in all).
constexpr DWORD kHeldFileRetryDelaysMs[] = {10, 20, 40, 80, 160};

// The whole content of `path`. False, with the system's code in `error` when
// given, when the file cannot be opened or read (held by another program
// after the pauses above), or is larger than `maxBytes` (ERROR_FILE_TOO_LARGE).
bool ReadSharedFile(const std::string& path, std::string& content, DWORD* error = nullptr,
                    unsigned long long maxBytes = 0x7FFFFFFE);

// Writes `content` as the whole of the existing file, in place, where it keeps
// its identity, attributes and security (for where a replace is refused: a
// write that breaks off leaves it partly written, so prefer a replace). False,
// with the system's code as the last error, when the content did not land.
bool WriteWholeFile(const std::string& path, const std::string& content);
// `content` as the whole of `file`, open for writing, which it closes; the
// result as WriteWholeFile's.
bool WriteAndClose(HANDLE file, const std::string& content);

} // namespace nv
