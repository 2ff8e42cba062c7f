#include "export_table.h"

ExportTable ReadExportTable(HMODULE module)
{
    ExportTable table;
    const BYTE* base = reinterpret_cast<const BYTE*>(module);
    const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (!module || dos->e_magic != IMAGE_DOS_SIGNATURE)
        return table;
    const IMAGE_NT_HEADERS* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    if (directory.VirtualAddress == 0)
        return table;
    const IMAGE_EXPORT_DIRECTORY* exports =
        reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + directory.VirtualAddress);
    table.moduleName = reinterpret_cast<const char*>(base + exports->Name);
    table.functionCount = exports->NumberOfFunctions;
    const DWORD* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    const WORD* ordinals = reinterpret_cast<const WORD*>(base + exports->AddressOfNameOrdinals);
    std::vector<bool> named(exports->NumberOfFunctions, false);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
        ExportEntry entry;
        entry.name = reinterpret_cast<const char*>(base + names[i]);
        entry.ordinal = exports->Base + ordinals[i];
        if (ordinals[i] < named.size())
            named[ordinals[i]] = true;
        table.entries.push_back(entry);
    }
    const DWORD* functions = reinterpret_cast<const DWORD*>(base + exports->AddressOfFunctions);
    for (DWORD i = 0; i < exports->NumberOfFunctions; ++i)
        if (!named[i] && functions[i] != 0)
            table.entries.push_back(ExportEntry{exports->Base + i, std::string()});
    return table;
}
