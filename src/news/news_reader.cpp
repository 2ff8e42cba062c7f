#include "news/news_reader.h"

#include "frame/constants.h"
#include "frame/registry_path.h"
#include "news/feed_index.h"
#include "news/feed_reader.h"
#include "news/news_files.h"
#include "news/news_texts.h"
#include "support/com_apartment.h"
#include "support/file_status.h"
#include "support/message_box.h"
#include "support/text.h"
#include "xml/nv_xml_document.h"

namespace nv {

void ReadProductFeeds(CNvXmlNode& channel, const std::string& product, const std::string& category,
                      BOOL includeRead, BOOL includeHidden, int* itemCount,
                      const std::string& dataFolderPathValue)
{
    *itemCount = 0;
    int progressStep = 0;
    try {
        std::string dataFolder = ReadRegistryPathValue(dataFolderPathValue, nv::kDataFolderDefault);
        std::string indexPath = CombinePath(dataFolder, product + ".feed");
        if (!nv::HasFileStatus(indexPath))
            return;
        nv::ComApartment com;
        CNvXmlDocument index;
        index.Load(indexPath);
        progressStep = 1;
        CNvXmlNodeList entries = index.SelectNodes("NvFeed");
        FeedReadShared shared;
        while (entries.Next()) {
            CNvXmlNode entry = entries.GetCurrent();
            if (!entry.Element())
                break;
            std::string feedPath = ResolveFeedEntryPath(entry);
            if (!nv::HasFileStatus(feedPath))
                continue;
            ReadFeedItems(channel, feedPath, category, includeRead, includeHidden, TRUE, itemCount,
                          &progressStep, &shared);
        }
    } catch (const nv::ComError& error) {
        nv::AppMessageBox(nv::FormatText(nv::kReadNewsErrorText, product.c_str(),
                                         static_cast<long>(progressStep),
                                         error.Description().c_str()),
                          MB_OK);
    }
}

} // namespace nv
