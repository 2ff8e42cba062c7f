// Installation conditions of NDC items: whether an update counts as
// installable on this machine, judged from files, folders, registry and INI
// values and their versions.
#pragma once

#include <windows.h>

#include <string>

namespace nv {

// 1 when the installation condition text holds, else 0.
int IsInstalliert(const std::string& condition);

// Compares the product version of the file at `path` with a version text of
// exactly four numbers. FALSE when the two cannot be compared (no version
// resource, or a text that is not four numbers); else `difference` is
// negative, 0 or positive as the text is lower than, equal to or higher than
// the file's version.
BOOL CompareFileVersion(const std::string& path, const std::string& versionText, int* difference);

} // namespace nv
