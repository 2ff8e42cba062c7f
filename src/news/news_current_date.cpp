#include "news/news_current_date.h"

#include <atomic>
#include <ctime>

namespace nv {

namespace {

const char* const kNewsBandKey = "Software\\Norvane\\NewsBand";

// Set once the NewsBand key was found missing; the key is not looked for again
// while the process lives, so news reading costs no registry access per call.
// Atomic: threads reading news at once may all find the key missing.
std::atomic<bool> g_noOverrideKey{false};

} // namespace

DWORD NewsOverrideCheckNumber(int dayOfMonth, int month, int dayOfWeek)
{
    return static_cast<DWORD>(dayOfMonth * 1000 + month * 10 + dayOfWeek);
}

DWORD TodaysNewsOverrideCheckNumber()
{
    __time64_t now = _time64(nullptr);
    struct tm local = {};
    if (_localtime64_s(&local, &now) != 0)
        return 0;
    return NewsOverrideCheckNumber(local.tm_mday, local.tm_mon + 1, local.tm_wday + 1);
}

NewsDate ReadNewsDateOverride(HKEY newsBandKey)
{
    DWORD type = 0;
    DWORD active = 0;
    DWORD size = sizeof(active);
    if (RegQueryValueExA(newsBandKey, "IsActive", nullptr, &type, reinterpret_cast<BYTE*>(&active),
                         &size) != ERROR_SUCCESS ||
        type != REG_DWORD || active != TodaysNewsOverrideCheckNumber())
        return NewsDate();
    // 20 bytes hold "dd.mm.yyyy hh:mm:ss" and its zero; a longer value fails to
    // read and is not used. The extra byte terminates data stored without a zero.
    char text[21] = {};
    size = 20;
    if (RegQueryValueExA(newsBandKey, "CurrentDate", nullptr, &type, reinterpret_cast<BYTE*>(text),
                         &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return NewsDate();
    return ParseNewsDate(text);
}

NewsDate GetNewsCurrentDate()
{
    if (!g_noOverrideKey) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kNewsBandKey, 0, KEY_ALL_ACCESS, &key) !=
            ERROR_SUCCESS) {
            g_noOverrideKey = true;
        } else {
            NewsDate date = ReadNewsDateOverride(key);
            RegCloseKey(key);
            if (date.valid)
                return date;
        }
    }
    return LocalNewsNow();
}

} // namespace nv
