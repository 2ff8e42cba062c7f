#include "shutdown/app_entry.h"

#include "support/text.h"

namespace nv {

const char* const kCloseAppsDefaultCaption = "Anwendung beenden";

namespace {

const size_t kMaxSecondsDigits = 10;

bool IsOptionStart(char c) { return c == '/' || c == '-'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

// Consumes the option at the start of `entry`; returns where the name begins.
size_t ParseOption(const std::string& entry, AppEntry& parsed)
{
    if (entry.empty() || !IsOptionStart(entry[0]))
        return 0;
    size_t pos = 1;
    if (pos >= entry.size())
        return pos;
    parsed.method = UpperAscii(entry[pos++]);
    for (size_t digits = 0; digits < kMaxSecondsDigits && pos < entry.size() && IsDigit(entry[pos]);
         ++digits, ++pos)
        parsed.seconds = parsed.seconds * 10 + static_cast<unsigned>(entry[pos] - '0');
    return pos;
}

} // namespace

std::vector<std::string> SplitAppEntryList(const std::string& list)
{
    std::vector<std::string> entries;
    if (list.empty())
        return entries;
    size_t start = 0;
    for (;;) {
        size_t end = list.find(';', start);
        if (end == std::string::npos) {
            entries.push_back(list.substr(start));
            return entries;
        }
        entries.push_back(list.substr(start, end - start));
        start = end + 1;
    }
}

AppEntry ParseAppEntry(const std::string& entry)
{
    AppEntry parsed;
    const std::string rest = entry.substr(ParseOption(entry, parsed));
    ExtractSubString(parsed.name, rest, 0, '#');
    parsed.name = ToLower(parsed.name);
    ExtractSubString(parsed.message, rest, 1, '#');
    if (!ExtractSubString(parsed.caption, rest, 2, '#'))
        parsed.caption = kCloseAppsDefaultCaption;

    size_t open = parsed.name.find('\'');
    if (open != std::string::npos) {
        parsed.hasProperty = true;
        size_t close = parsed.name.find('\'', open + 1);
        parsed.propertyName = parsed.name.substr(
            open + 1, close == std::string::npos ? std::string::npos : close - open - 1);
    }
    return parsed;
}

bool ProcessPathMatches(const std::string& name, const std::string& path)
{
    size_t found = ToLower(path).find(name);
    return found != std::string::npos && found > 0;
}

} // namespace nv
