// Registry path values: one text naming root, key path and value name, such as
// "HKLM\Software\Norvane\Download\QuotaDiced". This is the module's only way
// of reading a registry value by path.
#pragma once

#include <string>

namespace nv {

// The value's data as text ("ja"/"true"/"wahr" and their opposites become
// "1"/"0"), or `defaultValue` unchanged when it cannot be read.
std::string ReadRegistryPathValue(std::string path, std::string defaultValue);

// True when the key "ROOT\key\path" (HKLM, HKCU, HKCC, HKCR; any other first
// component means HKLM) can be opened for reading.
bool RegistryKeyPathExists(const std::string& keyPath);

} // namespace nv
