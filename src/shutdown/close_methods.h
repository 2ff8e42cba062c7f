// The ways an application entry can ask a window to close, chosen by the
// entry's option letter.
#pragma once

#include "shutdown/app_entry.h"
#include "shutdown/app_windows.h"

#include <string>

namespace nv {

// Sends that older callers made without a time limit wait this long when the
// entry gives no seconds, so that one hung application cannot hold the caller.
const unsigned long long kBoundedSendDefaultSeconds = 60;

// Milliseconds for a send time-out, saturated below INFINITE.
DWORD SecondsToTimeout(unsigned long long seconds);

// Applies the entry's closing method to `candidate`; `title` is the window's
// title as read before, used to notice that the application has gone.
void ApplyCloseMethod(const AppEntry& entry, const ApplicationCandidate& candidate,
                      const std::string& title);

} // namespace nv
