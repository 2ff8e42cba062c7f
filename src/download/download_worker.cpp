// Placeholder until the download configuration model lands.
#include "frame/service_worker.h"
#include "download/install_condition.h"

namespace nv {
int IsInstalliert(const std::string&) { return 0; }
} // namespace nv

bool CServiceWorker::IsItemInstallable(const char*, const char*) { return false; }
int CServiceWorker::CountLocalUpdates(const std::string&) { return 0; }
