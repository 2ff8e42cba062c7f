// Registry changes for one test: every value written and every key created
// through the sandbox is put back as it was when the sandbox goes away.
#pragma once

#include "harness/call_site.h"

#include <windows.h>

#include <string>
#include <vector>

// The four bytes of a REG_DWORD value.
std::string DwordData(DWORD value);

class RegistrySandbox {
public:
    RegistrySandbox() = default;
    ~RegistrySandbox();
    RegistrySandbox(const RegistrySandbox&) = delete;
    RegistrySandbox& operator=(const RegistrySandbox&) = delete;

    // Stores `data` byte for byte, a string type with its terminating zero; `name` empty is the
    // key's unnamed default value. A failed write fails the test at `site`.
    void Set(HKEY root, const std::string& key, const std::string& name, const std::string& data,
             DWORD type = REG_SZ, CallSite site = {});
    void DeleteValue(HKEY root, const std::string& key, const std::string& name);
    // Creates the key (and the missing keys above it) without any value.
    void CreateKey(HKEY root, const std::string& key, CallSite site = {});
    // Removes the key with everything below it; it is put back afterwards
    // only as far as the sandbox itself had recorded it.
    static void DeleteKey(HKEY root, const std::string& key);

private:
    struct SavedValue {
        HKEY root;
        std::string key, name;
        bool existed;
        DWORD type;
        std::vector<BYTE> data;
    };
    void Remember(HKEY root, const std::string& key, const std::string& name);

    std::vector<SavedValue> m_values;
    std::vector<std::pair<HKEY, std::string>> m_createdKeys;
};
