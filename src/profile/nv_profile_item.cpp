#include "profile/nv_profile_item.h"

#include "support/module_app.h"

#include <cstring>

namespace {

// Registry data is read into a buffer of this size; longer values fail.
const DWORD kRegistryBufferSize = 1024;
// Private-profile strings are read into a buffer of this many characters.
const DWORD kIniBufferSize = 1024;
// The profile name the framework gives a DLL application constructed
// without a name; used when no application object is attached.
const char* const kDefaultProfileName = "nvinfo.INI";
const char* const kDefaultAppName = "nvinfo";

std::string AppProfileName()
{
    nv::ModuleApp* app = nv::ModuleApp::Current();
    if (app && !app->ProfileName().empty())
        return app->ProfileName();
    return kDefaultProfileName;
}

std::string AppName()
{
    nv::ModuleApp* app = nv::ModuleApp::Current();
    if (app && !app->AppName().empty())
        return app->AppName();
    return kDefaultAppName;
}

} // namespace

CNvProfileItem::CNvProfileItem() { Init(nullptr, FALSE); }

CNvProfileItem::~CNvProfileItem() = default;

BOOL CNvProfileItem::Read() { return FALSE; }

BOOL CNvProfileItem::Write() { return FALSE; }

void CNvProfileItem::Init(const char* path, BOOL autoRead)
{
    m_bAutoRead = autoRead;
    m_pOwner = nullptr;
    std::string text = path ? path : "";
    std::string root = text;
    std::string rest;
    size_t first = text.find('\\');
    if (first != std::string::npos) {
        root = text.substr(0, first);
        rest = text.substr(first + 1);
    }
    if (root == "HKLM")
        m_nLocation = kLocationHklm;
    else if (root == "HKCU" || root.empty())
        m_nLocation = kLocationHkcu;
    else if (root == "INI")
        m_nLocation = kLocationIni;
    else
        m_nLocation = kLocationNone;
    size_t last = rest.rfind('\\');
    if (last == std::string::npos) {
        m_strKey.clear();
        m_strValueName = rest;
    } else {
        m_strKey = rest.substr(0, last);
        m_strValueName = rest.substr(last + 1);
    }
}

std::string CNvProfileItem::GetFullName() const
{
    std::string name;
    if (m_nLocation == kLocationHklm)
        name = "HKLM";
    else if (m_nLocation == kLocationHkcu)
        name = "HKCU";
    else if (m_nLocation == kLocationIni)
        name = "INI";
    if (!m_strKey.empty())
        name += "\\" + m_strKey;
    return name + "\\" + m_strValueName;
}

std::string CNvProfileItem::GetBasePath() const
{
    if (m_pOwner)
        return m_pOwner->m_strBasePath.empty() ? AppProfileName() : m_pOwner->m_strBasePath;
    // The application object never gets a registry key of its own, so only
    // INI items use the profile name.
    if (m_nLocation == kLocationIni)
        return AppProfileName();
    return AppName();
}

HKEY CNvProfileItem::OpenKey(REGSAM access) const
{
    std::string keyPath = m_strKey;
    if (!m_bAbsolute) {
        keyPath = GetBasePath();
        if (!m_strKey.empty())
            keyPath += "\\" + m_strKey;
    }
    HKEY root = m_nLocation == kLocationHklm ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    HKEY key = nullptr;
    LONG status;
    if (access == KEY_WRITE) {
        DWORD disposition = 0;
        status = RegCreateKeyExA(root, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                 KEY_WRITE, nullptr, &key, &disposition);
    } else {
        status = RegOpenKeyExA(root, keyPath.c_str(), 0, access, &key);
    }
    return status == ERROR_SUCCESS ? key : nullptr;
}

CNvProfileStrBase::CNvProfileStrBase() = default;

CNvProfileStrBase::~CNvProfileStrBase() = default;

std::string CNvProfileStrBase::GetValue()
{
    if (m_bAutoRead)
        Read();
    return m_strValue;
}

std::string CNvProfileStrBase::IniSection() const
{
    return m_strKey.substr(0, m_strKey.find('\\'));
}

BOOL CNvProfileStrBase::ReadRegistry()
{
    HKEY key = OpenKey(KEY_READ);
    if (!key) {
        m_strValue = m_strDefault;
        return FALSE;
    }
    char data[kRegistryBufferSize] = {};
    DWORD size = kRegistryBufferSize;
    LONG status = RegQueryValueExA(key, m_strValueName.c_str(), nullptr, nullptr,
                                   reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    // A value that fills the whole buffer leaves no room for its end: it
    // counts as too long, so the text below always ends inside the buffer.
    if (status != ERROR_SUCCESS || size >= kRegistryBufferSize) {
        m_strValue = m_strDefault;
        return FALSE;
    }
    m_strValue.assign(data, strnlen(data, size));
    return TRUE;
}

BOOL CNvProfileStrBase::ReadIni()
{
    char buffer[kIniBufferSize] = {};
    DWORD length =
        GetPrivateProfileStringA(IniSection().c_str(), m_strValueName.c_str(), m_strDefault.c_str(),
                                 buffer, kIniBufferSize, GetBasePath().c_str());
    m_strValue.assign(buffer, length < kIniBufferSize ? length : kIniBufferSize - 1);
    return length > 0;
}

BOOL CNvProfileStrBase::Read()
{
    switch (m_nLocation) {
    case kLocationHklm:
    case kLocationHkcu:
        return ReadRegistry();
    case kLocationIni:
        return ReadIni();
    default:
        return FALSE;
    }
}

BOOL CNvProfileStrBase::Write()
{
    switch (m_nLocation) {
    case kLocationHklm:
    case kLocationHkcu: {
        HKEY key = OpenKey(KEY_WRITE);
        if (!key)
            return FALSE;
        LONG status = RegSetValueExA(key, m_strValueName.c_str(), 0, REG_SZ,
                                     reinterpret_cast<const BYTE*>(m_strValue.c_str()),
                                     static_cast<DWORD>(m_strValue.size() + 1));
        RegCloseKey(key);
        return status == ERROR_SUCCESS;
    }
    case kLocationIni:
        return WritePrivateProfileStringA(IniSection().c_str(), m_strValueName.c_str(),
                                          m_strValue.c_str(), GetBasePath().c_str());
    default:
        return FALSE;
    }
}

CNvProfileString::CNvProfileString() = default;

CNvProfileString::CNvProfileString(const char* path, const std::string& defaultValue, BOOL autoRead)
{
    Init(path, autoRead);
    m_strDefault = defaultValue;
}

CNvProfileItem* CNvProfileMap::Add(std::unique_ptr<CNvProfileItem> item, const char* path,
                                   const std::string& defaultValue, BOOL autoRead)
{
    item->Init(path, autoRead);
    if (auto* text = dynamic_cast<CNvProfileStrBase*>(item.get()))
        text->m_strDefault = defaultValue;
    item->m_pOwner = this;
    CNvProfileItem* added = item.get();
    m_items[added->GetFullName()] = std::move(item);
    return added;
}

void CNvProfileMap::RemoveItem(CNvProfileItem* item)
{
    for (auto it = m_items.begin(); it != m_items.end(); ++it) {
        if (it->second.get() == item) {
            m_items.erase(it);
            return;
        }
    }
}

void CNvProfileMap::ReadAll()
{
    for (auto& entry : m_items)
        entry.second->Read();
}
