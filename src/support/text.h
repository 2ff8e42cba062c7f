// Single-byte text helpers. The module's strings are std::string holding text
// in the system code page; these helpers give the few string operations the
// module needs with the results its callers have always seen.
#pragma once

#include <cstdarg>
#include <string>

namespace nv {

// printf-style formatting that sizes its buffer first, so no argument length
// can overrun it. A null or empty format gives the empty text.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatTextV(const char* format, va_list args);

// Case mapping of the "C" locale: only the letters A-Z and a-z change, the
// bytes of the code page's upper half (umlauts) stay as they are.
std::string ToLower(std::string text);
std::string ToUpper(std::string text);
bool EqualsNoCase(const std::string& a, const std::string& b);

// Removes blanks, tabs, carriage returns and line feeds at both ends.
std::string Trim(const std::string& text);

// Field `index` of `full` split at `separator`. False when the text has fewer
// fields; `out` is then empty.
bool ExtractSubString(std::string& out, const std::string& full, int index, char separator);

// A null pointer is the empty text.
inline std::string FromNullable(const char* text)
{
    return text ? std::string(text) : std::string();
}

} // namespace nv
