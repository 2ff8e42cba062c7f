// The update infos of one product: unread news, waiting updates and the days
// since the update manager last looked, as counts and as one document.
#include "updates/update_infos.h"

#include "download/download_info.h"
#include "download/ndc_keys.h"
#include "frame/constants.h"
#include "news/news_reader.h"
#include "profile/nv_product_enum.h"
#include "support/com_apartment.h"
#include "support/message_box.h"
#include "support/text.h"
#include "updates/update_element.h"
#include "updates/update_manager_settings.h"
#include "xml/nv_xml_document.h"

namespace {

// The NDC path of the first registered product whose subkey is `product`
// (any case); empty when there is none with an NDC value.
std::string FindProductNdc(const std::string& product, const std::string& baseKey)
{
    CNvProductEnum products(baseKey);
    ProductRecord record;
    for (BOOL found = products.GetFirst(record); found; found = products.GetNext(record)) {
        if (!record.NDC.empty() && nv::EqualsNoCase(record.SubKey, product))
            return record.NDC;
    }
    return std::string();
}

// An item is listed when it can be installed here and either has a command
// to run or is not installed yet. Only the header and configuration sections
// are left out here: unlike the item-section rule of the NDC model, sections
// beginning with "!", "~" or "@" are listed, as the update manager's panel
// has always shown them.
bool IsWaitingUpdate(CDownloadItem& item)
{
    if (!item.IsInstallable())
        return false;
    if (nv::EqualsNoCase(item.m_strSection, nv::ndc::kHeaderSection) ||
        nv::EqualsNoCase(item.m_strSection, nv::ndc::kConfigurationSection))
        return false;
    return !item.GetRun().empty() || item.GetUpdate() == 0;
}

// Adds the "Updates" element when the product's NDC file pushes its updates.
void AddWaitingUpdates(CNvXmlDocument& infos, CNvXmlNode& rss, const std::string& product,
                       const std::string& baseKey, int* updateCount)
{
    const std::string ndcPath = FindProductNdc(product, baseKey);
    if (ndcPath.empty())
        return;
    CDownloadInfo info;
    nv::DownloadItemList items;
    nv::DownloadItemMap sections;
    if (info.LoadFile(ndcPath.c_str(), &items, &sections) != 0)
        return;
    auto header = sections.find(nv::ndc::kHeaderItem);
    if (header == sections.end() || header->second->GetPush() == 0)
        return;
    CNvXmlNode updates = rss.AppendChild(infos.CreateElement("Updates", ""));
    for (const auto& item : items) {
        if (!IsWaitingUpdate(*item))
            continue;
        nv::AddPanelUpdate(updates, *item);
        ++*updateCount;
    }
}

// "nvpro" stands for the whole suite: its panel counts the news of every
// product of the table as well.
void ReadNews(CNvXmlNode& channel, const std::string& product, int* newsCount)
{
    nv::ReadProductFeeds(channel, product, std::string(), FALSE, FALSE, newsCount,
                         nv::kDataFolderPathValue);
    if (product != "nvpro")
        return;
    for (const char* code : nv::kProductCodes) {
        int count = 0;
        nv::ReadProductFeeds(channel, code, std::string(), FALSE, FALSE, &count,
                             nv::kDataFolderPathValue);
        *newsCount += count;
    }
}

} // namespace

namespace nv {

int GetUpdateInfos(const std::string& product, int* newsCount, int* updateCount, int* dayCount,
                   IDispatch** document, const std::string& baseKey)
{
    if (product.empty())
        return E_INVALIDARG;
    // The counts are checked by the export; a caller that wants only the
    // numbers may pass no document pointer.
    if (document)
        *document = nullptr;
    *newsCount = 0;
    *updateCount = 0;
    *dayCount = 0;
    // The document handed out lives on in the caller's COM (see the export).
    ComApartment com;
    try {
        CNvXmlDocument infos;
        infos.LoadXml(nv::kEmptyFeed);
        CNvXmlNode rss = infos.SelectSingleNode(".");
        AddWaitingUpdates(infos, rss, product, baseKey, updateCount);
        CNvXmlNode channel = infos.SelectSingleNode("channel");
        ReadNews(channel, product, newsCount);
        *dayCount = GetDaysSinceLastCheck();
        CNvXmlNode info = rss.AppendChild(infos.CreateElement("Info", ""));
        info.SetChildNumber("Updates", *updateCount);
        info.SetChildNumber("News", *newsCount);
        info.SetChildNumber("Days", *dayCount);
        nv::ComPtr<IDispatch> dispatch(infos.Document(), IID_IDispatch);
        if (document)
            *document = dispatch.Detach();
        return S_OK;
    } catch (const nv::ComError& error) {
        nv::AppMessageBox(error.Description(), MB_OK);
        return S_OK;
    }
}

} // namespace nv
