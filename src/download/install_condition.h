#pragma once

#include <string>

namespace nv {

// 1 when the installation condition text holds, else 0.
int IsInstalliert(const std::string& condition);

} // namespace nv
