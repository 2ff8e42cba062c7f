#include "support/module_app.h"

namespace nv {

namespace {
ModuleApp* g_current = nullptr;
}

ModuleApp::ModuleApp() { g_current = this; }

ModuleApp::~ModuleApp()
{
    if (g_current == this)
        g_current = nullptr;
}

BOOL ModuleApp::InitInstance() { return TRUE; }

void ModuleApp::AttachModule(HINSTANCE instance)
{
    m_instance = instance;
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(instance, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        path[0] = '\0';
    std::string name = path;
    size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    size_t dot = name.rfind('.');
    if (dot != std::string::npos)
        name.erase(dot);
    m_appName = name;
    m_profileName = name + ".INI";
}

ModuleApp* ModuleApp::Current() { return g_current; }

} // namespace nv
