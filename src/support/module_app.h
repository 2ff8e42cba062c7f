// The application object of a regular DLL, as the framework provides it: the
// module's instance handle and the application and profile names that a DLL
// constructed without a name gets (the module's base name, and that name with
// ".INI").
#pragma once

#include <windows.h>

#include <string>

namespace nv {

class ModuleApp {
public:
    ModuleApp();
    virtual ~ModuleApp();
    ModuleApp(const ModuleApp&) = delete;
    ModuleApp& operator=(const ModuleApp&) = delete;

    virtual BOOL InitInstance();

    // Called once when the module is attached to a process.
    void AttachModule(HINSTANCE instance);

    HINSTANCE Instance() const { return m_instance; }
    const std::string& AppName() const { return m_appName; }
    const std::string& ProfileName() const { return m_profileName; }

    // The one application object of the module (null before it is constructed).
    static ModuleApp* Current();

private:
    HINSTANCE m_instance = nullptr;
    std::string m_appName;
    std::string m_profileName;
};

} // namespace nv
