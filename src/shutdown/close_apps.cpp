// Placeholder until application shutdown lands.
#include "shutdown/close_apps.h"

namespace nv {
void CloseApps(const char*, HWND) {}
} // namespace nv
