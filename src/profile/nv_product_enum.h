// Enumeration of the installed products: the subkeys of one key below
// HKEY_LOCAL_MACHINE, each with the product's values.
#pragma once

#include <string>

#include <windows.h>

struct ProductRecord {
    std::string Name;
    std::string Config;
    std::string Exe;
    std::string Leg;
    std::string Sysinfo;
    std::string NDC;
    // The name of the product's subkey.
    std::string SubKey;
};

class CNvProductEnum {
public:
    // `basePath`: key path below HKEY_LOCAL_MACHINE whose subkeys are products.
    explicit CNvProductEnum(const std::string& basePath) : m_strBasePath(basePath) {}

    // FALSE when there is no (further) product; the record is then unchanged.
    BOOL GetFirst(ProductRecord& record);
    BOOL GetNext(ProductRecord& record);

    std::string m_strBasePath;

private:
    DWORD m_nIndex = 0;
};
