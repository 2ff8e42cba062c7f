// How the module's INI reader cuts a file's text into section headers and key
// lines, as the platform's private-profile functions do: lines end at any run
// of CR and LF, blanks around lines, names and values do not count, a line
// whose first character is "[" and that holds a later "]" names a section (the
// last "]" closes it), any other line is a key, named up to its first "=".
// Names and values are C strings to the platform, so a zero byte ends them.
// Kept apart from the reader so that what a signature covers is cut exactly
// as the reader cuts it.
#pragma once

#include "download/profile_blank.h"

#include <cstring>
#include <string>

namespace nv {

struct IniSpan {
    size_t begin = 0;
    size_t length = 0;
};

// Calls onSection(name, lineBegin) for each section header and
// onKey(name, hasValue, value) for each key line, in file order. `name` and
// `value` are spans of `text` without their blanks; `lineBegin` is where the
// header's line starts, after the line break that ends the line before.
template <class OnSection, class OnKey>
void ScanIniLines(const std::string& text, OnSection onSection, OnKey onKey)
{
    const char* const base = text.data();
    const char* next = base;
    const char* const end = base + text.size();
    // Looked for once: most texts hold no zero byte, and a look per name and
    // value cost as much as the rest of the scan.
    const bool hasZero = memchr(base, 0, text.size()) != nullptr;
    const auto span = [base, hasZero](const char* begin, const char* stop) {
        const void* zero = hasZero ? memchr(begin, 0, static_cast<size_t>(stop - begin)) : nullptr;
        IniSpan result;
        result.begin = static_cast<size_t>(begin - base);
        result.length = static_cast<size_t>((zero ? static_cast<const char*>(zero) : stop) - begin);
        return result;
    };
    const auto blank = [](const char* at) {
        return IsProfileBlank(static_cast<unsigned char>(*at));
    };
    while (next < end) {
        const char* const lineBegin = next;
        const char* start = next;
        while (next < end && *next != '\n' && *next != '\r')
            ++next;
        const char* lineEnd = next;
        while (next < end && (*next == '\n' || *next == '\r'))
            ++next;
        while (start < lineEnd && blank(start))
            ++start;
        while (lineEnd > start && blank(lineEnd - 1))
            --lineEnd;
        if (start >= lineEnd)
            continue;
        if (*start == '[') {
            const char* close = lineEnd - 1;
            while (close > start && *close != ']')
                --close;
            if (close > start) {
                IniSpan name = span(start + 1, close);
                const char* nameBegin = base + name.begin;
                const char* nameEnd = nameBegin + name.length;
                while (nameBegin < nameEnd && blank(nameBegin))
                    ++nameBegin;
                while (nameEnd > nameBegin && blank(nameEnd - 1))
                    --nameEnd;
                onSection(span(nameBegin, nameEnd), static_cast<size_t>(lineBegin - base));
                continue;
            }
        }
        const char* equals = start;
        while (equals < lineEnd && *equals != '=')
            ++equals;
        if (equals == lineEnd)
            equals = nullptr;
        const char* nameEnd = equals ? equals : lineEnd;
        while (nameEnd > start && blank(nameEnd - 1))
            --nameEnd;
        IniSpan value;
        if (equals) {
            const char* valueBegin = equals + 1;
            while (valueBegin < lineEnd && blank(valueBegin))
                ++valueBegin;
            value = span(valueBegin, lineEnd);
        }
        onKey(span(start, nameEnd), equals != nullptr, value);
    }
}

} // namespace nv
