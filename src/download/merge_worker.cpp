// The merge and single-flag exports of the download configuration.
#include "download/download_info.h"
#include "download/ini_batch_writer.h"
#include "download/ndc_keys.h"
#include "frame/service_worker.h"
#include "support/text.h"

namespace {

// Texts shorter than this are taken for missing arguments.
const size_t kShortestText = 2;

// A flag written at once, under the file's lock so that a merge running
// beside it cannot replace the file with a text that lacks it. Callers must
// learn when the write did not land (missing folder, file held without write
// sharing, lock not had in time), which the item writers do not report: a
// flag they believe written would be missing for good.
int WriteSingleFlag(const std::string& section, const std::string& ndcPath, const char* key,
                    int value)
{
    if (section.size() < kShortestText || ndcPath.size() < kShortestText)
        return -1;
    return nv::WriteProfileKey(ndcPath, section, key, nv::FormatText("%d", value)) ? 0 : -1;
}

} // namespace

int CServiceWorker::MergeNdc(const std::string& newPath, const std::string& oldPath,
                             std::string* message)
{
    if (message)
        message->clear();
    CDownloadInfo info;
    DownloadItemRefs output;
    return info.Merge(output, oldPath.c_str(), newPath.c_str(), TRUE, TRUE, FALSE, message);
}

int CServiceWorker::UpdateAsDownloaded(const std::string& section, const std::string& ndcPath,
                                       int value)
{
    return WriteSingleFlag(section, ndcPath, nv::ndc::kDownload, value);
}

int CServiceWorker::UpdateAsUpdated(const std::string& section, const std::string& ndcPath,
                                    int value)
{
    return WriteSingleFlag(section, ndcPath, nv::ndc::kUpdate, value);
}

int CServiceWorker::UpdateStatus(const std::string& section, const std::string& second,
                                 const std::string& third)
{
    bool complete = section.size() >= kShortestText && second.size() >= kShortestText &&
                    third.size() >= kShortestText;
    return complete ? 0 : -1;
}
