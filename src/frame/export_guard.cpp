#include "frame/export_guard.h"

#include "support/bstr_text.h"

#include <oleauto.h>

namespace nv {

void PublishErrorInfo(const ComError& error) noexcept
{
    try {
        if (error.ErrorInfo()) {
            SetErrorInfo(0, error.ErrorInfo());
            return;
        }
        ICreateErrorInfo* create = nullptr;
        if (FAILED(CreateErrorInfo(&create)))
            return;
        BstrText description(error.ErrorMessage());
        create->SetDescription(description.Get());
        IErrorInfo* info = nullptr;
        if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
            SetErrorInfo(0, info);
            info->Release();
        }
        create->Release();
    } catch (...) {
        // Reporting must not throw; without memory there is nothing to report.
    }
}

} // namespace nv
