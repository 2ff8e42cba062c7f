// Placeholder until the update catalogue lands.
#include "frame/service_worker.h"

std::string CServiceWorker::GetUpdates(const std::string&, const std::string&, bool, bool, bool)
{
    return "<Updates/>";
}

std::string CServiceWorker::GetNdcToDownload(const std::string&, int, const std::string&)
{
    return "<ndcs/>";
}

int CServiceWorker::ShowUpdateManagerItem(int, const char*, const char*) { return -1; }
