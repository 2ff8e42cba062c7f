// Placeholder until the update catalogue lands.
#include "frame/service_worker.h"

int CServiceWorker::ShowUpdateManagerItem(int, const char*, const char*) { return -1; }
