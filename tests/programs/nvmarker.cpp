// Marks news items read from two threads at once, as two windows of one
// application would: "nvmarker <feed> <first> <count>" marks the guids
// g<first> to g<first + count - 1>, alternating between the threads, all
// released at the same moment. Exit code: the number of calls that did not
// return S_OK; 255: no module.
#include "nvinfo.h"

#include <windows.h>

#include <cstdlib>
#include <string>
#include <thread>

int main(int argc, char** argv)
{
    HMODULE module = LoadLibraryA("nvinfo.dll");
    auto setState = module ? reinterpret_cast<PFN_NV_SETNEWSITEMSTATE>(reinterpret_cast<void*>(
                                 GetProcAddress(module, "SetNewsItemState")))
                           : nullptr;
    if (argc < 4 || !setState)
        return 255;
    const std::string feed = argv[1];
    const int first = std::atoi(argv[2]), count = std::atoi(argv[3]);
    HANDLE start = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    int failed[2] = {0, 0};
    auto mark = [&](int parity) {
        WaitForSingleObject(start, INFINITE);
        for (int i = parity; i < count; i += 2)
            failed[parity] +=
                setState(feed.c_str(), ("g" + std::to_string(first + i)).c_str(), 1, -1) != S_OK;
    };
    std::thread even(mark, 0), odd(mark, 1);
    SetEvent(start);
    even.join();
    odd.join();
    return failed[0] + failed[1];
}
