#include "harness/registry_sandbox.h"

#include <gtest/gtest.h>

RegistrySandbox::~RegistrySandbox()
{
    for (auto it = m_values.rbegin(); it != m_values.rend(); ++it) {
        if (it->existed)
            RegSetKeyValueA(it->root, it->key.c_str(), it->name.c_str(), it->type, it->data.data(),
                            static_cast<DWORD>(it->data.size()));
        else
            RegDeleteKeyValueA(it->root, it->key.c_str(), it->name.c_str());
    }
    for (auto it = m_createdKeys.rbegin(); it != m_createdKeys.rend(); ++it)
        DeleteKey(it->first, it->second);
}

void RegistrySandbox::Remember(HKEY root, const std::string& key, const std::string& name)
{
    SavedValue saved{root, key, name, false, 0, {}};
    const DWORD flags = RRF_RT_ANY | RRF_NOEXPAND;
    DWORD size = 0;
    if (RegGetValueA(root, key.c_str(), name.c_str(), flags, &saved.type, nullptr, &size) ==
        ERROR_SUCCESS) {
        saved.data.resize(size);
        saved.existed = RegGetValueA(root, key.c_str(), name.c_str(), flags, &saved.type,
                                     saved.data.data(), &size) == ERROR_SUCCESS;
        saved.data.resize(size);
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
    CreateKey(root, key, site);
    const bool text = type == REG_SZ || type == REG_EXPAND_SZ;
    LONG status = RegSetKeyValueA(root, key.c_str(), name.c_str(), type, data.c_str(),
                                  static_cast<DWORD>(data.size() + (text ? 1 : 0)));
    if (status != ERROR_SUCCESS)
        ADD_FAILURE_AT(site.file, site.line)
            << "cannot write registry value " << key << "\\" << name << " (error " << status << ")";
}

void RegistrySandbox::DeleteValue(HKEY root, const std::string& key, const std::string& name)
{
    Remember(root, key, name);
    RegDeleteKeyValueA(root, key.c_str(), name.c_str());
}

void RegistrySandbox::CreateKey(HKEY root, const std::string& key, CallSite site)
{
    // Record the highest missing level: removing it takes exactly what is created below it.
    for (size_t end = 0; end != std::string::npos;) {
        end = key.find('\\', end + 1);
        HKEY probe = nullptr;
        if (RegOpenKeyExA(root, key.substr(0, end).c_str(), 0, KEY_READ, &probe)) {
            m_createdKeys.emplace_back(root, key.substr(0, end));
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
    RegCloseKey(handle);
}

void RegistrySandbox::DeleteKey(HKEY root, const std::string& key)
{
    RegDeleteTreeA(root, key.c_str());
    RegDeleteKeyA(root, key.c_str());
}
