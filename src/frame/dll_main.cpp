#include "frame/app.h"

#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
        theApp.AttachModule(instance);
        return theApp.InitInstance();
    }
    return TRUE;
}
