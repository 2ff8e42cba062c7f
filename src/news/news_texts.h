// Texts the news show to users, spelled exactly as the suite has always shown
// them (code page 1252).
#pragma once

namespace nv {

// Product code, progress step, error description.
extern const char* const kReadNewsErrorText;
// Error description.
extern const char* const kSetNewsItemStateErrorText;

} // namespace nv
