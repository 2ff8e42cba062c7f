// Key writes applied to the text of an INI file in one pass, with the result
// the platform's private-profile reads would give after the same sequence of
// WritePrivateProfileStringA calls: a replaced key keeps its line and its name
// as written in the file, a new key goes at the end of its section, a new
// section at the end of the file (both as "name=value" and "[name]" lines
// ending in CR LF, as the platform writes them). Lines no write touches stay
// byte for byte, unlike the platform, which rewrites the whole file per call.
#pragma once

#include <string>
#include <vector>

namespace nv {

struct IniWrite {
    std::string section;
    std::string key;
    std::string value;
};

class IniSnapshot;

// The writes applied to the text `parsed` holds, a file's bytes as read
// (IniSnapshot::OfContent). False when the text is of a kind whose lines the
// platform splits or decodes differently (a byte order mark, a zero byte, a
// lone carriage return) or a write names an empty section or key; `result` is
// then unchanged and the caller must leave the writes to the platform.
bool ApplyIniWrites(const IniSnapshot& parsed, const std::vector<IniWrite>& writes,
                    std::string& result);

} // namespace nv
