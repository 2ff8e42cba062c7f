#include "updates/update_element.h"

#include "download/download_item.h"
#include "updates/destination_folder.h"

namespace nv {

namespace {

const char* FlagText(bool set) { return set ? "1" : "0"; }

} // namespace

CNvXmlNode AddListedUpdate(CNvXmlNode& updates, CDownloadItem& item)
{
    CNvXmlNode update = updates.AddChild("Update", nullptr);
    update.AddChild("Section", item.m_strSection.c_str());
    update.AddChild("Name", item.GetName().c_str());
    update.AddChild("Tooltip", item.GetTooltip().c_str());
    update.AddChild("InfoText", item.GetInfoText().c_str());
    update.AddChild("InfoFile", item.GetInfoFile().c_str());
    update.AddChild("Size", static_cast<long>(item.GetSizeKB()));
    update.AddChild("DateVer", static_cast<long>(item.GetDateVer()));
    update.AddChild("FileURL", item.GetFileURL().c_str());
    update.AddChild("File", item.GetFile().c_str());
    update.AddChild("Destination", ResolveDestinationFolder(item).c_str());
    update.AddChild("Download", FlagText(item.GetDownload() != 0));
    update.AddChild("Update", FlagText(item.GetUpdate() != 0));
    update.AddChild("State", item.GetState().c_str());
    return update;
}

CNvXmlNode AddPanelUpdate(CNvXmlNode& updates, CDownloadItem& item)
{
    CNvXmlNode update = updates.AddChild("Update", nullptr);
    update.AddChild("Section", item.m_strSection.c_str());
    update.AddChild("Name", item.GetName().c_str());
    update.AddChild("Tooltip", item.GetTooltip().c_str());
    update.AddChild("Size", static_cast<long>(item.GetSizeKB()));
    update.AddChild("InfoText", item.GetInfoText().c_str());
    update.AddChild("InfoFile", item.GetInfoFile().c_str());
    update.AddChild("FileURL", item.GetFileURL().c_str());
    update.AddChild("DateVer", static_cast<long>(item.GetDateVer()));
    update.AddChild("File", item.GetFile().c_str());
    update.AddChild("Destination", item.GetDestination().c_str());
    update.AddChild("State", item.GetState().c_str());
    update.AddChild("Severity", item.GetSeverity().c_str());
    update.AddChild("Summary", item.GetSummary().c_str());
    update.AddChild("Download", FlagText(item.GetDownload() == 1));
    update.AddChild("Update", FlagText(item.GetUpdate() == 1));
    update.AddChild("Elster", FlagText(item.GetElster() == 1));
    update.AddChild("WantDownload", FlagText(item.GetWantDownload() == 1));
    return update;
}

} // namespace nv
