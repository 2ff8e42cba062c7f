#include "profile/nv_product_enum.h"

#include "profile/nv_profile_item.h"

namespace {

// Subkey names are read into a buffer of this many characters.
const DWORD kSubKeyBufferSize = 1025;

} // namespace

BOOL CNvProductEnum::GetFirst(ProductRecord& record)
{
    m_nIndex = 0;
    return GetNext(record);
}

BOOL CNvProductEnum::GetNext(ProductRecord& record)
{
    CNvProfileMap items(m_strBasePath);
    auto* probe = items.AddItem<CNvProfileString>("HKLM", std::string(), FALSE);
    HKEY key = probe->OpenKey(KEY_READ);
    items.RemoveItem(probe);
    if (!key)
        return FALSE;
    char subKey[kSubKeyBufferSize] = {};
    LONG status = RegEnumKeyA(key, m_nIndex, subKey, kSubKeyBufferSize);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return FALSE;
    const std::string prefix = std::string("HKLM\\") + subKey + "\\";
    auto value = [&](const char* name) {
        return items.AddItem<CNvProfileString>((prefix + name).c_str(), std::string(), FALSE);
    };
    CNvProfileString* exe = value("Exe");
    CNvProfileString* config = value("Config");
    CNvProfileString* name = value("Name");
    CNvProfileString* leg = value("Leg");
    CNvProfileString* sysinfo = value("Sysinfo");
    CNvProfileString* ndc = value("NDC");
    items.ReadAll();
    record.Name = name->GetValue();
    record.Config = config->GetValue();
    record.Exe = exe->GetValue();
    record.Leg = leg->GetValue();
    record.Sysinfo = sysinfo->GetValue();
    record.NDC = ndc->GetValue();
    record.SubKey = subKey;
    ++m_nIndex;
    return TRUE;
}
