// Display dates of news items. The feeds are written by people in the user's
// own notation, so dates are parsed with the user's regional settings and
// compared as OLE dates including the time of day.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>

namespace nv {

struct NewsDate {
    DATE value = 0;
    bool valid = false;
};

// The OLE Automation parse with the user's default locale; a text that does
// not parse gives an invalid date.
NewsDate ParseNewsDate(const std::string& text);

// The local date and time now, in whole seconds.
NewsDate LocalNewsNow();

// True only when both dates are valid and `date` lies after `reference`: an
// invalid date disables the test that uses it.
bool IsLaterDate(const NewsDate& date, const NewsDate& reference);

} // namespace nv
