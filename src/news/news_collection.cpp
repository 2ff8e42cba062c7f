#include "news/news_collection.h"

#include "frame/constants.h"
#include "news/feed_reader.h"
#include "news/news_reader.h"
#include "support/com_apartment.h"
#include "support/message_box.h"
#include "xml/nv_xml_document.h"

namespace {

// A new output document from the empty feed, and its channel.
CNvXmlDocument CreateNewsDocument(CNvXmlNode& channel)
{
    CNvXmlDocument news;
    news.LoadXml(nv::kEmptyFeed);
    channel = news.SelectSingleNode("channel");
    return news;
}

IDispatch* DispatchOf(const CNvXmlDocument& news)
{
    nv::ComPtr<IDispatch> dispatch(news.Document(), IID_IDispatch);
    return dispatch.Detach();
}

} // namespace

namespace nv {

HRESULT CollectProductNews(const std::string& product, const std::string& category,
                           IDispatch** document, BOOL includeRead, BOOL includeHidden,
                           const std::string& dataFolderPathValue)
{
    if (product.empty())
        return E_INVALIDARG;
    if (!document)
        return E_POINTER;
    *document = nullptr;
    // The document handed out lives on in the caller's COM (see the exports).
    ComApartment com;
    try {
        CNvXmlNode channel;
        CNvXmlDocument news = CreateNewsDocument(channel);
        int itemCount = 0;
        ReadProductFeeds(channel, product, category, includeRead, includeHidden, &itemCount,
                         dataFolderPathValue);
        if (itemCount > 0)
            *document = DispatchOf(news);
    } catch (const nv::ComError& error) {
        nv::AppMessageBox(error.Description(), MB_OK);
    }
    return S_OK;
}

void CollectFileNews(const std::string& feedPath, const std::string& category, IDispatch** document,
                     BOOL includeRead, BOOL includeHidden, BOOL checkConstraints)
{
    if (!document)
        return;
    *document = nullptr;
    if (feedPath.empty())
        return;
    ComApartment com;
    try {
        CNvXmlNode channel;
        CNvXmlDocument news = CreateNewsDocument(channel);
        int itemCount = 0;
        int progressStep = 0;
        ReadFeedItems(channel, feedPath, category, includeRead, includeHidden, checkConstraints,
                      &itemCount, &progressStep);
        *document = DispatchOf(news);
    } catch (const nv::ComError&) {
        // Reading one named file has never reported anything: no document.
    }
}

} // namespace nv
