// Placeholder until the update catalogue lands.
#include "frame/service_worker.h"

std::string CServiceWorker::GetUpdates(const std::string&, const std::string&, bool, bool, bool)
{
    return "<Updates/>";
}

int CServiceWorker::ShowUpdateManagerItem(int, const char*, const char*) { return -1; }
