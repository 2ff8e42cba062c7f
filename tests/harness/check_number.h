// The number the news date override must carry to count on the local clock's
// day now: day of the month, month and day of the week (1 = Sunday).
#pragma once

#include <windows.h>

inline DWORD TodaysCheckNumber()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now.wDay * 1000 + now.wMonth * 10 + now.wDayOfWeek + 1;
}
