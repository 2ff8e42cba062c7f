#include "frame/registry_path.h"

#include "support/text.h"

#include <windows.h>

#include <algorithm>

namespace nv {

namespace {

// Registry data is read into a buffer of this size; longer data is not read.
const DWORD kMaxDataBytes = 1024;

struct RootMarker {
    const char* marker;
    HKEY root;
};

// Applied in this order: a later marker found in the text overrides the root
// of an earlier one. Lower-case and long forms other than HKEY_LOCAL_MACHINE
// have never been markers and stay part of the key path.
const RootMarker kRootMarkers[] = {
    {"HKCU\\", HKEY_CURRENT_USER},
    {"HKLM\\", HKEY_LOCAL_MACHINE},
    {"HKEY_LOCAL_MACHINE\\", HKEY_LOCAL_MACHINE},
    {"HKCR\\", HKEY_CLASSES_ROOT},
};

// Removes every occurrence of `marker`, scanning left to right once; true
// when there was one.
bool RemoveAll(std::string& text, const std::string& marker)
{
    std::string result;
    size_t start = 0;
    size_t found;
    bool any = false;
    while ((found = text.find(marker, start)) != std::string::npos) {
        result.append(text, start, found - start);
        start = found + marker.size();
        any = true;
    }
    if (any)
        text = result + text.substr(start);
    return any;
}

std::string NormaliseYesNo(const std::string& text)
{
    for (const char* word : {"false", "nein", "falsch"})
        if (nv::EqualsNoCase(text, word))
            return "0";
    for (const char* word : {"true", "ja", "wahr"})
        if (nv::EqualsNoCase(text, word))
            return "1";
    return text;
}

} // namespace

std::string ReadRegistryPathValue(std::string path, std::string defaultValue)
{
    HKEY root = HKEY_CURRENT_USER;
    for (const RootMarker& marker : kRootMarkers)
        if (RemoveAll(path, marker.marker))
            root = marker.root;

    std::string keyPath = path;
    std::string valueName;
    size_t split = path.rfind('\\');
    if (split != std::string::npos) {
        keyPath = path.substr(0, split);
        valueName = path.substr(split + 1);
    }
    if (valueName == "(Standard)")
        valueName.clear();

    HKEY key = nullptr;
    if (RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return defaultValue;
    char data[kMaxDataBytes];
    DWORD size = sizeof data;
    LONG status = RegQueryValueExA(key, valueName.c_str(), nullptr, nullptr,
                                   reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return defaultValue;
    // Data of any type is text up to its first zero byte; it need not end in one.
    size = std::min(size, kMaxDataBytes);
    return NormaliseYesNo(std::string(data, std::find(data, data + size, '\0')));
}

bool RegistryKeyPathExists(const std::string& keyPath)
{
    HKEY root = HKEY_LOCAL_MACHINE;
    std::string subKey = keyPath;
    size_t split = keyPath.find('\\');
    if (split != std::string::npos) {
        std::string token = keyPath.substr(0, split);
        subKey = keyPath.substr(split + 1);
        if (token == "HKCU")
            root = HKEY_CURRENT_USER;
        else if (token == "HKCC")
            root = HKEY_CURRENT_CONFIG;
        else if (token == "HKCR")
            root = HKEY_CLASSES_ROOT;
    }
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

} // namespace nv
