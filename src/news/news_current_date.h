// The date against which news items are shown. Support staff and the
// suite's test department can move it through the date override under
// HKCU "Software\Norvane\NewsBand": "IsActive" must hold today's check number
// and "CurrentDate" the date to use; anything else leaves the clock in charge.
#pragma once

#include "news/news_date.h"

#include <windows.h>

namespace nv {

// The check number the override must carry on a day: day of month * 1000 +
// month * 10 + day of week (1 = Sunday ... 7 = Saturday). It changes daily,
// so a forgotten override switches itself off.
DWORD NewsOverrideCheckNumber(int dayOfMonth, int month, int dayOfWeek);

// Today's check number from the local clock.
DWORD TodaysNewsOverrideCheckNumber();

// The override date held by an opened NewsBand key, or an invalid date when
// the key does not switch it on today.
NewsDate ReadNewsDateOverride(HKEY newsBandKey);

// The override date when it is active, else the local time now. A missing
// NewsBand key is remembered for the life of the process.
NewsDate GetNewsCurrentDate();

} // namespace nv
