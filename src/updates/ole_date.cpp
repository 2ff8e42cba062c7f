#include "updates/ole_date.h"

namespace nv {

namespace {

// Day number of a civil date counted from 1 March of year 0, so that the leap
// day falls at the end of the counting year.
int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day)
{
    year -= month <= 2 ? 1 : 0;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra;
}

} // namespace

double OleDateFromCalendar(int year, int month, int day, int hour, int minute, int second)
{
    const int64_t days = DaysFromCivil(year, month, day) - DaysFromCivil(1899, 12, 30);
    const double fraction = (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
    // Before day 0 the fraction still counts forward from the day's start.
    return days >= 0 ? days + fraction : days - fraction;
}

int32_t WholeDaysBetween(double last, double now)
{
    double span = ContinuousOleDate(now) - ContinuousOleDate(last);
    span += span >= 0 ? kOleHalfSecond : -kOleHalfSecond;
    return static_cast<int32_t>(static_cast<uint64_t>(static_cast<int64_t>(span)));
}

} // namespace nv
