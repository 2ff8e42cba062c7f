// The texts a failed merge reports, naming the old NDC file and the step the
// merge had reached.
#pragma once

#include "support/com_error.h"

#include <string>

namespace nv {

std::string ComMergeMessage(const char* oldPath, long step, const ComError& error);
// `errorText`: the exception's own message, or the system's text for a
// write that failed.
std::string FrameworkMergeMessage(const char* oldPath, long step, const char* errorText);
std::string UnknownMergeMessage(const char* oldPath, long step);

// Callers that want no message pass null.
inline void StoreMergeMessage(std::string* out, const std::string& message)
{
    if (out)
        *out = message;
}

} // namespace nv
