#include "harness/registry_sandbox.h"

#include <gtest/gtest.h>

RegistrySandbox::~RegistrySandbox()
{
    for (auto it = m_values.rbegin(); it != m_values.rend(); ++it) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(it->root, it->key.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
            continue;
        if (it->existed)
            RegSetValueExA(key, it->name.c_str(), 0, it->type, it->data.data(),
                           static_cast<DWORD>(it->data.size()));
        else
            RegDeleteValueA(key, it->name.c_str());
        RegCloseKey(key);
    }
    for (auto it = m_createdKeys.rbegin(); it != m_createdKeys.rend(); ++it)
        DeleteKey(it->first, it->second);
}

HKEY RegistrySandbox::OpenForWrite(HKEY root, const std::string& key, CallSite site)
{
    // Record the highest missing level: removing it takes exactly what is created below it.
    for (size_t end = 0; end != std::string::npos;) {
        end = key.find('\\', end + 1);
        const std::string path = key.substr(0, end);
        HKEY probe = nullptr;
        if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &probe) != ERROR_SUCCESS) {
            m_createdKeys.emplace_back(root, path);
            break;
        }
        RegCloseKey(probe);
    }
    HKEY handle = nullptr;
    LONG status = RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &handle, nullptr);
    if (status != ERROR_SUCCESS)
        ADD_FAILURE_AT(site.file, site.line)
            << "cannot create registry key " << key << " (error " << status << ")";
    return handle;
}

void RegistrySandbox::Remember(HKEY root, const std::string& key, const std::string& name)
{
    SavedValue saved{root, key, name, false, 0, {}};
    HKEY handle = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) == ERROR_SUCCESS) {
        DWORD size = 0;
        if (RegQueryValueExA(handle, name.c_str(), nullptr, &saved.type, nullptr, &size) ==
            ERROR_SUCCESS) {
            saved.data.resize(size);
            RegQueryValueExA(handle, name.c_str(), nullptr, &saved.type, saved.data.data(), &size);
            saved.existed = true;
        }
        RegCloseKey(handle);
    }
    m_values.push_back(saved);
}

std::string DwordData(DWORD value)
{
    return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}

void RegistrySandbox::Set(HKEY root, const std::string& key, const std::string& name,
                          const std::string& data, DWORD type, CallSite site)
{
    Remember(root, key, name);
    HKEY handle = OpenForWrite(root, key, site);
    if (!handle)
        return;
    const bool text = type == REG_SZ || type == REG_EXPAND_SZ;
    LONG status =
        RegSetValueExA(handle, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.c_str()),
                       static_cast<DWORD>(data.size() + (text ? 1 : 0)));
    if (status != ERROR_SUCCESS)
        ADD_FAILURE_AT(site.file, site.line)
            << "cannot write registry value " << key << "\\" << name << " (error " << status << ")";
    RegCloseKey(handle);
}

void RegistrySandbox::DeleteValue(HKEY root, const std::string& key, const std::string& name)
{
    Remember(root, key, name);
    HKEY handle = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_SET_VALUE, &handle) == ERROR_SUCCESS) {
        RegDeleteValueA(handle, name.c_str());
        RegCloseKey(handle);
    }
}

void RegistrySandbox::CreateKey(HKEY root, const std::string& key, CallSite site)
{
    HKEY handle = OpenForWrite(root, key, site);
    if (handle)
        RegCloseKey(handle);
}

void RegistrySandbox::DeleteKey(HKEY root, const std::string& key)
{
    RegDeleteTreeA(root, key.c_str());
    RegDeleteKeyA(root, key.c_str());
}
