// The export directory of a loaded module, read from its image in memory.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct ExportEntry {
    DWORD ordinal = 0;
    std::string name; // empty for an export by ordinal only
};

struct ExportTable {
    std::string moduleName;
    DWORD functionCount = 0;
    std::vector<ExportEntry> entries; // in the directory's name order
};

ExportTable ReadExportTable(HMODULE module);
