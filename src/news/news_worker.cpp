// Placeholder until news retrieval lands.
#include "frame/service_worker.h"

HRESULT CServiceWorker::CollectProductNews(const std::string& product, const std::string&,
                                           IDispatch** document, BOOL, BOOL, const std::string&)
{
    if (product.empty())
        return E_INVALIDARG;
    *document = nullptr;
    return S_OK;
}

void CServiceWorker::CollectFileNews(const std::string&, const std::string&, IDispatch**, BOOL,
                                     BOOL, BOOL)
{
}

HRESULT CServiceWorker::SetNewsItemState(const std::string&, const std::string&, long, long)
{
    return E_INVALIDARG;
}
