// The module's application object. It is constructed without a name, so the
// framework's defaults for a DLL apply (module base name, "<name>.INI").
#pragma once

#include "support/module_app.h"

class CNvinfoApp : public nv::ModuleApp {
public:
    BOOL InitInstance() override;
};

extern CNvinfoApp theApp;
