// Where a test called a shared helper. Taken as the helper's last, defaulted
// parameter, it holds the caller's file and line (the compiler fills them in
// at the call), so a failure the helper finds points at the test, not here.
#pragma once

struct CallSite {
    CallSite(const char* file = __builtin_FILE(), int line = __builtin_LINE())
        : file(file), line(line)
    {
    }
    const char* file;
    int line;
};
