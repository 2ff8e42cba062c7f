// The news of a product or of one feed file, collected into a new document
// made from the empty feed.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>

namespace nv {

// E_INVALIDARG without a product, E_POINTER without `document`; otherwise
// S_OK, with `*document` null when no item was kept. A reading error is
// shown to the user and leaves what was collected before it.
HRESULT CollectProductNews(const std::string& product, const std::string& category,
                           IDispatch** document, BOOL includeRead, BOOL includeHidden,
                           const std::string& dataFolderPathValue);

// `*document` is the feed's items that pass (possibly none), or null when
// the file cannot be read; nothing is shown.
void CollectFileNews(const std::string& feedPath, const std::string& category, IDispatch** document,
                     BOOL includeRead, BOOL includeHidden, BOOL checkConstraints);

} // namespace nv
