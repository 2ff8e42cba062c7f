// Placeholder until the download configuration model lands.
#include "frame/service_worker.h"
#include "download/install_condition.h"

namespace nv {
int IsInstalliert(const std::string&) { return 0; }
} // namespace nv

int CServiceWorker::MergeNdc(const std::string&, const std::string&, std::string* message)
{
    if (message)
        message->clear();
    return -3;
}

int CServiceWorker::UpdateAsDownloaded(const std::string&, const std::string&, int) { return -1; }
int CServiceWorker::UpdateAsUpdated(const std::string&, const std::string&, int) { return -1; }
int CServiceWorker::UpdateStatus(const std::string&, const std::string&, const std::string&)
{
    return -1;
}
bool CServiceWorker::IsItemInstallable(const char*, const char*) { return false; }
int CServiceWorker::CountLocalUpdates(const std::string&) { return 0; }
