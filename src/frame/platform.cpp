#include "frame/platform.h"

#include <windows.h>

namespace nv {

namespace {

bool ComputeIsNtPlatform()
{
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info; // 148
    return GetVersionExA(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

} // namespace

const bool IsNtPlatform = ComputeIsNtPlatform();

} // namespace nv
