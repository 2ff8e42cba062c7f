// How the platform's private-profile functions read names: what they take for
// a blank around section names, key names and values, and which letters
// fold. The reader and the batched writer of
// NDC files must agree with the platform here: a writer that trims more than
// the platform's reader writes into "[\xA0Name]" when asked for "Name", a
// section nobody finds. Measured under Wine with every byte of code page
// 1252: tab, vertical tab, form feed, space and Ctrl-Z (the old end-of-file
// mark), besides the line breaks that never stand inside a line; 0x1C-0x1F
// and the no-break space 0xA0 are part of the name.
#pragma once

#include "support/text.h"

#include <string>

namespace nv {

inline bool IsProfileBlank(unsigned char c)
{
    return (c >= 0x09 && c <= 0x0D) || c == ' ' || c == 0x1A;
}

// text[begin, end) without the blanks at either end.
inline std::string TrimProfileBlanks(const std::string& text, size_t begin, size_t end)
{
    while (begin < end && IsProfileBlank(static_cast<unsigned char>(text[begin])))
        ++begin;
    while (end > begin && IsProfileBlank(static_cast<unsigned char>(text[end - 1])))
        --end;
    return text.substr(begin, end - begin);
}

// Section and key names match with only A-Z folded (measured: "[\xDC" "ber]"
// is not found as "\xFC" "ber").
inline std::string FoldProfileName(const std::string& name) { return ToLower(name); }
inline char FoldProfileChar(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace nv
