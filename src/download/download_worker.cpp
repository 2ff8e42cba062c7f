// The download configuration operations behind the exports.
#include "frame/service_worker.h"

#include "download/download_info.h"
#include "download/download_item.h"

bool CServiceWorker::IsItemInstallable(const char* ndcPath, const char* section)
{
    // A missing file or section reads as an item without keys: no condition,
    // no quota, so it is installable.
    CDownloadItem item;
    item.Load(ndcPath, section);
    return item.IsInstallable() != FALSE;
}

int CServiceWorker::CountLocalUpdates(const std::string& ndcPath)
{
    CDownloadInfo info;
    return info.CountLocalUpdates(ndcPath.c_str());
}
