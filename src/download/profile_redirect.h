// NDC values that refer to a profile setting instead of holding an address:
// "/r" + profile item path, optionally ";" + suffix.
#pragma once

#include <string>

namespace nv {

// A "FileURL" value ("/r", "/R", "-r" or "-R", at least 3 characters): the
// setting's value, a backslash unless it ends with one, then the suffix.
// The raw text when it is no reference or the setting cannot be read.
std::string ResolveFileUrl(std::string raw);

// A "LocalURL" value ("/r" or "/R" only): the setting's value, plus a
// backslash and the suffix when there is one. The text after "/r" when the
// setting cannot be read or reads empty; the raw text when it is no reference.
std::string ResolveLocalUrl(const std::string& raw);

} // namespace nv
