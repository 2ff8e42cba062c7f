// The first calls of a fresh process, made by two threads at the same moment:
// one in a single-threaded COM apartment, one in the multithreaded one.
// "nvfirstcalls <out> <ndc> <product> <data value> <holding> <failing>": both
// threads ask the same questions and write one line each into <out>:
// privileged and plain items of <ndc>, 50 rounds of the two conditions, the
// news items of <product>, and the numbers diced for items D0 to D7 of a copy
// of <ndc> of their own. Exit code 255: no module.
#include "nvinfo.h"

#include <windows.h>

#include <fstream>
#include <string>
#include <thread>

namespace {

template <class F> F Export(HMODULE module, const char* name)
{
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

} // namespace

int main(int argc, char** argv)
{
    HMODULE module = LoadLibraryA("nvinfo.dll");
    if (argc < 7 || !module)
        return 255;
    auto installable = Export<PFN_NV_ISITEMINSTALLABLE>(module, "IsItemInstallable");
    auto installiert = Export<PFN_NV_TEXTSTD>(module, "IsInstalliert");
    auto newsXml = Export<PFN_NV_GETNEWSXML3>(module, "GetNewsXml3");
    const std::string ndc = argv[2];
    HANDLE start = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::string lines[2];
    auto ask = [&](int thread) {
        CoInitializeEx(nullptr, thread ? COINIT_MULTITHREADED : COINIT_APARTMENTTHREADED);
        const std::string copy =
            ndc + "." + std::to_string(GetCurrentProcessId()) + "." + std::to_string(thread);
        CopyFileA(ndc.c_str(), copy.c_str(), FALSE);
        WaitForSingleObject(start, INFINITE);
        std::string& line = lines[thread];
        line = "privileged=" + std::to_string(installable(ndc.c_str(), "Beta")) +
               " plain=" + std::to_string(installable(ndc.c_str(), "Plain"));
        int holding = 0, failing = 0;
        for (int round = 0; round < 50; ++round) {
            holding += installiert(argv[5]);
            failing += installiert(argv[6]);
        }
        line += " conditions=" + std::to_string(holding) + "/" + std::to_string(failing);
        BSTR news = newsXml(argv[3], "", argv[4]);
        int items = 0;
        for (const wchar_t* at = news; at && (at = wcsstr(at, L"<item")); ++at)
            ++items;
        SysFreeString(news);
        line += " news=" + std::to_string(items) + " dice=";
        for (int item = 0; item < 8; ++item) {
            const std::string section = "D" + std::to_string(item);
            installable(copy.c_str(), section.c_str());
            line += std::to_string(static_cast<int>(
                        GetPrivateProfileIntA(section.c_str(), "QuotaDiced", -1, copy.c_str()))) +
                    ",";
        }
        DeleteFileA(copy.c_str());
    };
    std::thread single(ask, 0), multi(ask, 1);
    SetEvent(start);
    single.join();
    multi.join();
    std::ofstream(argv[1], std::ios::binary) << lines[0] << "\n" << lines[1] << "\n";
    return 0;
}
