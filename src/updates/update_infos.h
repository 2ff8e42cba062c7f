// The update infos of one product: unread news, waiting updates and the
// days since the update manager last looked, as counts and as one document.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>

namespace nv {

// E_INVALIDARG without a product, else S_OK (an XML error is shown to the
// user). The counts must be given; `document` may be null.
int GetUpdateInfos(const std::string& product, int* newsCount, int* updateCount, int* dayCount,
                   IDispatch** document, const std::string& baseKey);

} // namespace nv
