// Two of the module's three path syntaxes live here. Registry path values: one
// text naming root, key path and value name, such as
// "HKLM\Software\Norvane\Download\QuotaDiced", the root marker found anywhere
// in the text; the folders, the download switches, the news feeds' places and
// the constraints' registry terms read them. Key paths: "ROOT\key\path" with
// the root as the first component only, for the key tests of the installation
// conditions when the term's value cannot be read. The third syntax, profile
// item paths ("HKLM\key\value", "INI\section\key"), which the installation
// conditions' terms and redirected NDC values read, lives in
// profile/nv_profile_item.h.
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
