// The user's read and hidden marks of one feed item, kept in the feed's
// per-user state file.
#pragma once

#include <windows.h>

#include <string>

namespace nv {

// E_INVALIDARG when the feed file or the item is missing; -1 leaves a mark
// as it is. A failure is shown to the user and returned as its HRESULT.
HRESULT SetNewsItemState(const std::string& feedPath, const std::string& guid, long readState,
                         long hiddenState);

} // namespace nv
