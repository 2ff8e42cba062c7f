// A helper's last, defaulted parameter: the compiler fills in the caller's file and
// line, so a failure the helper finds points at the test that called it.
#pragma once

struct CallSite {
    CallSite(const char* file = __builtin_FILE(), int line = __builtin_LINE())
        : file(file), line(line)
    {
    }
    const char* file;
    int line;
};
