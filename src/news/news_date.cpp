#include "news/news_date.h"

#include "support/bstr_text.h"
#include "support/ole_date_line.h"

#include <ctime>

namespace nv {

NewsDate ParseNewsDate(const std::string& text)
{
    NewsDate date;
    nv::BstrText wide(text);
    if (wide.IsNull())
        return date;
    DATE value = 0;
    if (SUCCEEDED(VarDateFromStr(wide.Get(), LANG_USER_DEFAULT, 0, &value))) {
        date.value = value;
        date.valid = true;
    }
    return date;
}

NewsDate LocalNewsNow()
{
    NewsDate date;
    __time64_t now = _time64(nullptr);
    struct tm local = {};
    if (_localtime64_s(&local, &now) != 0)
        return date;
    SYSTEMTIME clock = {};
    clock.wYear = static_cast<WORD>(local.tm_year + 1900);
    clock.wMonth = static_cast<WORD>(local.tm_mon + 1);
    clock.wDayOfWeek = static_cast<WORD>(local.tm_wday);
    clock.wDay = static_cast<WORD>(local.tm_mday);
    clock.wHour = static_cast<WORD>(local.tm_hour);
    clock.wMinute = static_cast<WORD>(local.tm_min);
    clock.wSecond = static_cast<WORD>(local.tm_sec);
    double value = 0;
    date.valid = SystemTimeToVariantTime(&clock, &value) != 0;
    date.value = value;
    return date;
}

bool IsLaterDate(const NewsDate& date, const NewsDate& reference)
{
    return date.valid && reference.valid &&
           nv::ContinuousOleDate(date.value) > nv::ContinuousOleDate(reference.value);
}

} // namespace nv
