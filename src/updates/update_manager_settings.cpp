#include "updates/update_manager_settings.h"

#include "support/bstr_text.h"
#include "support/com_apartment.h"
#include "support/file_status.h"
#include "support/text.h"
#include "updates/ole_date.h"
#include "xml/nv_xml_document.h"

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <ctime>

namespace nv {

namespace {

const char kConfigFileBelowCommonAppData[] =
    "Norvane\\Update Manager\\Daten\\updatemanager-config.xml";
// German (Germany): the update manager writes its dates in that notation on
// every machine.
const LCID kGermanLocale = 0x0407;

std::string CommonAppDataFolder()
{
    IMalloc* allocator = nullptr;
    if (FAILED(SHGetMalloc(&allocator)) || !allocator)
        return std::string();
    char folder[MAX_PATH] = "";
    LPITEMIDLIST items = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_COMMON_APPDATA, &items)) ||
        !SHGetPathFromIDListA(items, folder))
        folder[0] = '\0';
    if (items)
        allocator->Free(items);
    allocator->Release();
    return folder;
}

} // namespace

std::string UpdateManagerConfigPath()
{
    char path[MAX_PATH] = "";
    if (!PathCombineA(path, CommonAppDataFolder().c_str(), kConfigFileBelowCommonAppData))
        return std::string();
    return path;
}

bool LoadUpdateManagerConfig(CNvXmlDocument& config)
{
    const std::string path = UpdateManagerConfigPath();
    if (!HasFileStatus(path))
        return false;
    config.Load(path.c_str());
    return true;
}

bool ParseGermanOleDate(const std::string& text, double* date)
{
    BstrText wide(text);
    DATE parsed = 0;
    if (FAILED(VarDateFromStr(wide.Get(), kGermanLocale, LOCALE_NOUSEROVERRIDE, &parsed)))
        return false;
    *date = parsed;
    return true;
}

double LocalNowOleDate()
{
    __time64_t now = _time64(nullptr);
    struct tm local = {};
    _localtime64_s(&local, &now);
    return OleDateFromCalendar(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                               local.tm_min, local.tm_sec);
}

int GetUpdateMode()
{
    ComApartment com;
    try {
        CNvXmlDocument config;
        if (!nv::LoadUpdateManagerConfig(config))
            return 1;
        const std::string mode = config.SelectSingleNode("UpdateMode").GetTextString();
        return nv::EqualsNoCase(mode, "ModeDontCheck") ? 0 : 1;
    } catch (const nv::ComError&) {
        return 0;
    }
}

int GetDaysSinceLastCheck()
{
    ComApartment com;
    try {
        CNvXmlDocument config;
        if (!nv::LoadUpdateManagerConfig(config))
            return -1;
        CNvXmlNode lastCheck = config.SelectSingleNode("LastSuccessfulCheck");
        if (lastCheck.IsEmpty())
            return -1;
        const double now = nv::LocalNowOleDate();
        double last = 0;
        if (!nv::ParseGermanOleDate(lastCheck.GetTextString(), &last))
            return 0;
        return nv::WholeDaysBetween(last, now);
    } catch (const nv::ComError&) {
        return -1;
    }
}

} // namespace nv
