#include "harness/nvinfo_module.h"

#include "harness/module_paths.h"

HMODULE NvinfoModule::Handle()
{
    static HMODULE module = LoadLibraryA(OutputFile("nvinfo.dll").c_str());
    return module;
}
