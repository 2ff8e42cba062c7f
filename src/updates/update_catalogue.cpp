// The update list of a product: the items the merge of its old and new NDC
// file offers, one Update element each.
#include "updates/update_catalogue.h"

#include "download/download_info.h"
#include "updates/update_element.h"
#include "xml/nv_xml_document.h"

namespace nv {

std::string GetUpdates(const std::string& oldPath, const std::string& newPath, bool all,
                       bool fourth, bool downloaderOnly)
{
    CDownloadInfo info;
    nv::DownloadItemRefs list;
    CNvXmlDocument document(CNvXmlDocument::CreatePlain());
    if (document.IsEmpty())
        throw nv::ComError(E_POINTER);
    CNvXmlNode updates = document.CreateElement("Updates", nullptr);

    info.Merge(list, oldPath.c_str(), newPath.c_str(), all, fourth, downloaderOnly, nullptr);
    ListedUpdateWriter writer(document.Document());
    for (CDownloadItem* item : list)
        writer.Add(updates, *item);

    CNvXmlNode(document.Document().Get()).AppendChild(updates);
    return nv::BstrToAnsi(document.GetXml().Get());
}

} // namespace nv
