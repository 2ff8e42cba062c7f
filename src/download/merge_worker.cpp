// Placeholder until the NDC merge lands.
#include "frame/service_worker.h"

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
