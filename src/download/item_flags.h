// One flag of one NDC item, written at once by the single-flag exports.
#pragma once

#include <string>

namespace nv {

// Whether an argument text counts as given (two characters at least).
bool IsGivenText(const std::string& text);

// 0 when `key` of `section` now holds `value`; -1 when an argument is missing
// or the write did not land.
int WriteItemFlag(const std::string& section, const std::string& ndcPath, const char* key,
                  int value);

} // namespace nv
