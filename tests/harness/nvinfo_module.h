// The built module loaded the way the suite's programs load it: LoadLibrary
// and GetProcAddress by exported name.
#pragma once

#include "harness/call_site.h"
#include "harness/module_paths.h"

#include <windows.h>

#include <gtest/gtest.h>

class NvinfoModule {
public:
    // The module, loaded once per test program from the output folder.
    static HMODULE Handle()
    {
        static HMODULE module = LoadLibraryA(OutputFile("nvinfo.dll").c_str());
        return module;
    }

    // The export `name`, cast to `F`; a missing export fails the calling test at `site`.
    template <class F> static F Proc(const char* name, CallSite site = {})
    {
        FARPROC proc = GetProcAddress(Handle(), name);
        if (!proc)
            ADD_FAILURE_AT(site.file, site.line) << "export " << name << " not found";
        return reinterpret_cast<F>(reinterpret_cast<void*>(proc));
    }
};
