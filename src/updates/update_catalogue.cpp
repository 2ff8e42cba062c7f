// The update list of a product: the items the merge of its old and new NDC
// file offers, one Update element each.
#include "download/download_info.h"
#include "frame/service_worker.h"
#include "support/text.h"
#include "updates/destination_folder.h"
#include "xml/nv_xml_document.h"

namespace {

void AppendText(CNvXmlDocument& document, CNvXmlNode& parent, const char* name,
                const std::string& text)
{
    parent.AppendChild(document.CreateElement(name, text.c_str()));
}

// The thirteen children in the order the update manager reads them.
CNvXmlNode MakeUpdateElement(CNvXmlDocument& document, CDownloadItem& item)
{
    CNvXmlNode update = document.CreateElement("Update", nullptr);
    AppendText(document, update, "Section", item.m_strSection);
    AppendText(document, update, "Name", item.GetName());
    AppendText(document, update, "Tooltip", item.GetTooltip());
    AppendText(document, update, "InfoText", item.GetInfoText());
    AppendText(document, update, "InfoFile", item.GetInfoFile());
    AppendText(document, update, "Size", nv::FormatText("%d", item.GetSizeKB()));
    AppendText(document, update, "DateVer", nv::FormatText("%d", item.GetDateVer()));
    AppendText(document, update, "FileURL", item.GetFileURL());
    AppendText(document, update, "File", item.GetFile());
    AppendText(document, update, "Destination", ResolveDestinationFolder(item));
    AppendText(document, update, "Download", item.GetDownload() != 0 ? "1" : "0");
    AppendText(document, update, "Update", item.GetUpdate() != 0 ? "1" : "0");
    AppendText(document, update, "State", item.GetState());
    return update;
}

} // namespace

// COM must be initialised by the caller; errors of the XML layer leave here.
std::string CServiceWorker::GetUpdates(const std::string& oldPath, const std::string& newPath,
                                       bool all, bool fourth, bool downloaderOnly)
{
    CDownloadInfo info;
    DownloadItemRefs list;
    CNvXmlDocument document(CNvXmlDocument::CreatePlain());
    if (document.IsEmpty())
        throw nv::ComError(E_POINTER);
    CNvXmlNode updates = document.CreateElement("Updates", nullptr);

    info.Merge(list, oldPath.c_str(), newPath.c_str(), all, fourth, downloaderOnly, nullptr);
    for (CDownloadItem* item : list)
        updates.AppendChild(MakeUpdateElement(document, *item));

    CNvXmlNode(document.Document().Get()).AppendChild(updates);
    return document.GetXml().AnsiString();
}
