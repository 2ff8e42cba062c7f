// OLE Automation dates as the update manager writes them: days since
// 30 December 1899, the time of day as the fraction. Pure arithmetic; the
// platform supplies the parsed and the current dates.
#pragma once

#include "support/ole_date_line.h"

#include <cstdint>

namespace nv {

// The OLE date of a calendar moment given in whole seconds (proleptic
// Gregorian calendar, month 1-12, day 1-31, hour 0-23).
double OleDateFromCalendar(int year, int month, int day, int hour, int minute, int second);

// The whole days elapsed from `last` to `now`: both times of day count, the
// span is rounded to the half second and truncated toward zero, so a moment
// 36 hours ahead gives -1 and one 14 hours ahead gives 0. Dates before
// 30 December 1899 carry a positive fraction after a negative day number;
// they are made continuous first.
int32_t WholeDaysBetween(double last, double now);

} // namespace nv
