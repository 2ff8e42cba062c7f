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

HKEY RegistrySandbox::OpenForWrite(HKEY root, const std::string& key)
{
    // Record each missing level so that exactly those are removed again.
    std::string path;
    size_t start = 0;
    while (start <= key.size()) {
        size_t end = key.find('\\', start);
        std::string part = key.substr(start, end == std::string::npos ? std::string::npos : end - start);
        path += (path.empty() ? "" : "\\") + part;
        HKEY probe = nullptr;
        if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &probe) == ERROR_SUCCESS) {
            RegCloseKey(probe);
        } else {
            m_createdKeys.emplace_back(root, path);
            break;
        }
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    HKEY handle = nullptr;
    LONG status = RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &handle, nullptr);
    EXPECT_EQ(ERROR_SUCCESS, status) << "cannot create registry key " << key;
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

void RegistrySandbox::SetBinary(HKEY root, const std::string& key, const std::string& name,
                                const std::vector<BYTE>& data, DWORD type)
{
    Remember(root, key, name);
    HKEY handle = OpenForWrite(root, key);
    if (!handle)
        return;
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(handle, name.c_str(), 0, type, data.data(),
                                            static_cast<DWORD>(data.size())));
    RegCloseKey(handle);
}

void RegistrySandbox::SetString(HKEY root, const std::string& key, const std::string& name,
                                const std::string& value, DWORD type)
{
    std::vector<BYTE> data(value.begin(), value.end());
    data.push_back(0);
    SetBinary(root, key, name, data, type);
}

void RegistrySandbox::SetDword(HKEY root, const std::string& key, const std::string& name,
                               DWORD value)
{
    const BYTE* bytes = reinterpret_cast<const BYTE*>(&value);
    SetBinary(root, key, name, std::vector<BYTE>(bytes, bytes + sizeof value), REG_DWORD);
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

void RegistrySandbox::CreateKey(HKEY root, const std::string& key)
{
    HKEY handle = OpenForWrite(root, key);
    if (handle)
        RegCloseKey(handle);
}

void RegistrySandbox::DeleteKey(HKEY root, const std::string& key)
{
    RegDeleteTreeA(root, key.c_str());
    RegDeleteKeyA(root, key.c_str());
}
