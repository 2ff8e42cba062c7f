// Writing a file anew without ever leaving half of it: the new content goes
// to a temporary file in the same folder, which takes the old file's place
// only once it was written completely. A write that breaks off (full disk,
// locked file, crash) leaves the old file as it was.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace nv {

enum class ReplaceStep { None, CreateTemporary, Write, Changed, Replace };

struct ReplaceOutcome {
    ReplaceStep failedStep = ReplaceStep::None; // None: the file was replaced
    DWORD error = ERROR_SUCCESS;                // the system's code for the failed step
    bool Succeeded() const { return failedStep == ReplaceStep::None; }
};

// Errors of a file that is there but held open by another handle (or
// protected): a replace refused with one of them may work a moment later, and
// writes in place may reach the file where no replace can.
bool IsHeldFileError(DWORD error);

// The platform's replace in place, with ReplaceFileA's contract: TRUE, or
// FALSE with the system's code as the last error.
using PlatformReplace = BOOL (*)(const char* path, const char* replacement);

// `write` fills the temporary file named by its argument and returns false
// when it could not; an exception from it removes the temporary file and
// passes on. `prefix` names the temporary file (three characters are used).
// `stillCurrent`, when given, is asked right before the new content takes the
// file's place: false leaves the file as it is (step Changed).
//
// The file keeps its attributes and, where the platform can replace it in
// place, its security descriptor and streams. A file that another handle
// holds without delete sharing is tried again for a bounded moment (0.3 s in
// all) before the outcome reports the step Replace. `replace` stands in for
// the platform's replace (ReplaceFileA on Windows, none under Wine).
ReplaceOutcome ReplaceFileContent(const std::string& path, const char* prefix,
                                  const std::function<bool(const char* temporary)>& write,
                                  const std::function<bool()>& stillCurrent = nullptr,
                                  PlatformReplace replace = nullptr);

// ReplaceFileContent with `content` as the new file, written through the
// handle that made the temporary file: a name made for `write` is a file made,
// closed and opened again (under Wine a third of the time the write takes).
ReplaceOutcome ReplaceFileBytes(const std::string& path, const char* prefix,
                                const std::string& content,
                                const std::function<bool()>& stillCurrent = nullptr,
                                PlatformReplace replace = nullptr);

} // namespace nv
