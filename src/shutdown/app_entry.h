// The application entry list that callers pass to close running applications:
// entries separated by ";", each an optional option ("/" or "-", a method
// character and up to ten digits of seconds), a name, and an optional message
// and caption after "#". Pure text work, so it also builds outside Windows.
#pragma once

#include <string>
#include <vector>

namespace nv {

// Caption of the message box when the entry names none.
extern const char* const kCloseAppsDefaultCaption;

struct AppEntry {
    // Method character in upper case; 0 when the entry has no option or the
    // option ended right after "/" or "-".
    char method = 0;
    // Wait time; up to ten digits, so it can exceed 32 bits.
    unsigned long long seconds = 0;
    // Everything before the first "#", in lower case.
    std::string name;
    // Text between the first and second apostrophe of the name (to its end
    // when there is no second one); set only when the name has an apostrophe.
    bool hasProperty = false;
    std::string propertyName;
    std::string message;
    std::string caption;
};

// The entries in order; empty entries stay in the list (they match nothing).
std::vector<std::string> SplitAppEntryList(const std::string& list);

AppEntry ParseAppEntry(const std::string& entry);

// Whether the executable `path` belongs to an entry named `name`: the name must
// occur in the lower-cased path, and its first occurrence must not be at the
// very start (callers have always relied on a whole path not matching).
bool ProcessPathMatches(const std::string& name, const std::string& path);

} // namespace nv
