// Message boxes as the framework shows them for the module: captioned with the
// application name, owned by the active window, and with the framework's
// default icon when the type names none.
#pragma once

#include <windows.h>

#include <string>

namespace nv {

int AppMessageBox(const std::string& text, UINT type = MB_OK);

} // namespace nv
