// Where the built programs lie: the test programs, the module and the small
// helper programs all share the build's output folder.
#pragma once

#include <string>

std::string OutputFolder();
std::string OutputFile(const std::string& name);
