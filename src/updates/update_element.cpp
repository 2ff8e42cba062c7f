// The "Update" element of the update infos: one item of a product's NDC file
// with every value the product's information panel shows.
#include "download/download_item.h"
#include "xml/nv_xml_document.h"

#include <objbase.h>

namespace {

// The panel reads these flags as exactly "1" or "0".
const char* FlagText(int value) { return value == 1 ? "1" : "0"; }

} // namespace

CNvXmlNode CDownloadItem::CreateUpdateElement()
{
    CoInitialize(nullptr);
    CNvXmlDocument document;
    document.LoadXml("<Update/>");
    CNvXmlNode update = document.SelectSingleNode(".");
    update.AddChild("Section", m_strSection.c_str());
    update.AddChild("Name", GetName().c_str());
    update.AddChild("Tooltip", GetTooltip().c_str());
    update.AddChild("Size", static_cast<long>(GetSizeKB()));
    update.AddChild("InfoText", GetInfoText().c_str());
    update.AddChild("InfoFile", GetInfoFile().c_str());
    update.AddChild("FileURL", GetFileURL().c_str());
    update.AddChild("DateVer", static_cast<long>(GetDateVer()));
    update.AddChild("File", GetFile().c_str());
    update.AddChild("Destination", GetDestination().c_str());
    update.AddChild("State", GetState().c_str());
    update.AddChild("Severity", GetSeverity().c_str());
    update.AddChild("Summary", GetSummary().c_str());
    update.AddChild("Download", FlagText(GetDownload()));
    update.AddChild("Update", FlagText(GetUpdate()));
    update.AddChild("Elster", FlagText(GetElster()));
    update.AddChild("WantDownload", FlagText(GetWantDownload()));
    return update;
}
