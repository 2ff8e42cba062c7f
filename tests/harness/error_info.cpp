#include "harness/error_info.h"

#include <windows.h>
#include <oleauto.h>

#include <vector>

void ClearErrorInfo()
{
    SetErrorInfo(0, nullptr);
}

std::string TakeErrorDescription()
{
    IErrorInfo* info = nullptr;
    if (GetErrorInfo(0, &info) != S_OK || !info)
        return "<no error info>";
    BSTR description = nullptr;
    HRESULT hr = info->GetDescription(&description);
    info->Release();
    if (FAILED(hr) || !description)
        return std::string();
    int wide = static_cast<int>(SysStringLen(description));
    int size = WideCharToMultiByte(CP_ACP, 0, description, wide, nullptr, 0, nullptr, nullptr);
    std::vector<char> text(size > 0 ? size : 1);
    WideCharToMultiByte(CP_ACP, 0, description, wide, text.data(), size, nullptr, nullptr);
    SysFreeString(description);
    return std::string(text.data(), size > 0 ? size : 0);
}
