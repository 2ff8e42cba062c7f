#include "updates/update_element.h"

#include "download/download_item.h"
#include "updates/destination_folder.h"

namespace nv {

namespace {

const char* FlagText(bool set) { return set ? "1" : "0"; }

enum ListedTag {
    kUpdateTag,
    kSectionTag,
    kNameTag,
    kTooltipTag,
    kInfoTextTag,
    kInfoFileTag,
    kSizeTag,
    kDateVerTag,
    kFileURLTag,
    kFileTag,
    kDestinationTag,
    kDownloadFlagTag,
    kUpdateFlagTag,
    kStateTag,
};

const char* const kListedTags[] = {
    "Update",  "Section", "Name", "Tooltip",     "InfoText", "InfoFile", "Size",
    "DateVer", "FileURL", "File", "Destination", "Download", "Update",   "State",
};

} // namespace

ListedUpdateWriter::ListedUpdateWriter(const nv::ComPtr<IXMLDOMDocument>& document)
    : m_document(document)
{
    for (const char* tag : kListedTags)
        m_tags.emplace_back(tag);
}

void ListedUpdateWriter::Add(CNvXmlNode& updates, CDownloadItem& item)
{
    IXMLDOMDocument* owner = m_document.Get();
    CNvXmlNode update(updates.AddElement(owner, m_tags[kUpdateTag].Get(), nullptr).Get());
    auto add = [&](ListedTag tag, const std::string& text) {
        update.AddElement(owner, m_tags[tag].Get(), text.c_str());
    };
    add(kSectionTag, item.m_strSection);
    add(kNameTag, item.GetName());
    add(kTooltipTag, item.GetTooltip());
    add(kInfoTextTag, item.GetInfoText());
    add(kInfoFileTag, item.GetInfoFile());
    add(kSizeTag, std::to_string(static_cast<long>(item.GetSizeKB())));
    add(kDateVerTag, std::to_string(static_cast<long>(item.GetDateVer())));
    add(kFileURLTag, item.GetFileURL());
    add(kFileTag, item.GetFile());
    add(kDestinationTag, ResolveDestinationFolder(item, m_foldersPresent));
    add(kDownloadFlagTag, FlagText(item.GetDownload() != 0));
    add(kUpdateFlagTag, FlagText(item.GetUpdate() != 0));
    add(kStateTag, item.GetState());
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
