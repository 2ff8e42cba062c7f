#include "support/message_box.h"

#include "support/module_app.h"

namespace nv {

int AppMessageBox(const std::string& text, UINT type)
{
    if ((type & MB_ICONMASK) == 0) {
        switch (type & MB_TYPEMASK) {
        case MB_OK:
        case MB_OKCANCEL:
            type |= MB_ICONEXCLAMATION;
            break;
        case MB_YESNO:
        case MB_YESNOCANCEL:
            type |= MB_ICONQUESTION;
            break;
        default:
            break;
        }
    }
    ModuleApp* app = ModuleApp::Current();
    const char* caption = app && !app->AppName().empty() ? app->AppName().c_str() : nullptr;
    return MessageBoxA(GetActiveWindow(), text.c_str(), caption, type);
}

} // namespace nv
