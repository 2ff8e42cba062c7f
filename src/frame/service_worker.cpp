#include "frame/service_worker.h"

#include "download/download_info.h"
#include "download/download_item.h"
#include "download/ini_snapshot.h"
#include "download/item_flags.h"
#include "download/ndc_keys.h"
#include "news/news_collection.h"
#include "news/news_item_state.h"
#include "support/file_write_lock.h"
#include "updates/ndc_download_list.h"
#include "updates/update_catalogue.h"
#include "updates/update_infos.h"
#include "updates/update_manager_launch.h"
#include "updates/update_manager_settings.h"

#include <optional>

HRESULT CServiceWorker::CollectProductNews(const std::string& product, const std::string& category,
                                           IDispatch** document, BOOL includeRead,
                                           BOOL includeHidden,
                                           const std::string& dataFolderPathValue)
{
    return nv::CollectProductNews(product, category, document, includeRead, includeHidden,
                                  dataFolderPathValue);
}

void CServiceWorker::CollectFileNews(const std::string& feedPath, const std::string& category,
                                     IDispatch** document, BOOL includeRead, BOOL includeHidden,
                                     BOOL checkConstraints)
{
    nv::CollectFileNews(feedPath, category, document, includeRead, includeHidden, checkConstraints);
}

HRESULT CServiceWorker::SetNewsItemState(const std::string& feedPath, const std::string& guid,
                                         long readState, long hiddenState)
{
    return nv::SetNewsItemState(feedPath, guid, readState, hiddenState);
}

int CServiceWorker::GetUpdateMode() { return nv::GetUpdateMode(); }

int CServiceWorker::GetDaysSinceLastCheck() { return nv::GetDaysSinceLastCheck(); }

std::string CServiceWorker::GetUpdates(const std::string& oldPath, const std::string& newPath,
                                       bool all, bool fourth, bool downloaderOnly)
{
    return nv::GetUpdates(oldPath, newPath, all, fourth, downloaderOnly);
}

std::string CServiceWorker::GetNdcToDownload(const std::string& filter, int pushOnly,
                                             const std::string& baseKey)
{
    return nv::GetNdcToDownload(filter, pushOnly, baseKey);
}

int CServiceWorker::GetUpdateInfos(const std::string& product, int* newsCount, int* updateCount,
                                   int* dayCount, IDispatch** document, const std::string& baseKey)
{
    return nv::GetUpdateInfos(product, newsCount, updateCount, dayCount, document, baseKey);
}

int CServiceWorker::ShowUpdateManagerItem(int page, const char* product, const char* item)
{
    return nv::ShowUpdateManagerItem(page, product, item);
}

int CServiceWorker::MergeNdc(const std::string& newPath, const std::string& oldPath,
                             std::string* message)
{
    if (message)
        message->clear();
    CDownloadInfo info;
    nv::DownloadItemRefs output;
    return info.Merge(output, oldPath.c_str(), newPath.c_str(), TRUE, TRUE, FALSE, message);
}

int CServiceWorker::UpdateAsDownloaded(const std::string& section, const std::string& ndcPath,
                                       int value)
{
    return nv::WriteItemFlag(section, ndcPath, nv::ndc::kDownload, value);
}

int CServiceWorker::UpdateAsUpdated(const std::string& section, const std::string& ndcPath,
                                    int value)
{
    return nv::WriteItemFlag(section, ndcPath, nv::ndc::kUpdate, value);
}

// Records nothing: the update manager calls it for its own bookkeeping, and
// only the completeness of the arguments has ever been answered.
int CServiceWorker::UpdateStatus(const std::string& section, const std::string& second,
                                 const std::string& third)
{
    return nv::IsGivenText(section) && nv::IsGivenText(second) && nv::IsGivenText(third) ? 0 : -1;
}

bool CServiceWorker::IsItemInstallable(const char* ndcPath, const char* section)
{
    // The rollout number drawn for an item without one is decided and written
    // under the file's lock: a merge or a second caller at the same moment
    // would otherwise keep a number other than the one answered here.
    std::optional<nv::CFileWriteLock> lock;
    if (ndcPath) {
        lock.emplace(nv::ProfilePath(ndcPath));
        if (!lock->IsHeld())
            return false;
    }
    // A missing file or section reads as an item without keys: no condition,
    // no quota, so it is installable. A file held by another program is not.
    CDownloadItem item;
    if (item.Load(ndcPath, section) == nv::ndc::kUnreadableFile)
        return false;
    return item.IsInstallable() != FALSE;
}

int CServiceWorker::CountLocalUpdates(const std::string& ndcPath)
{
    CDownloadInfo info;
    return info.CountLocalUpdates(ndcPath.c_str());
}
