#include "support/com_error.h"

#include "support/bstr_text.h"

#include <cstdio>

namespace nv {

ComError::ComError(HRESULT hr, IErrorInfo* info, bool addRef) : m_hr(hr), m_info(info)
{
    if (m_info && addRef)
        m_info->AddRef();
}

ComError::ComError(const ComError& other)
    : m_hr(other.m_hr), m_info(other.m_info), m_message(other.m_message)
{
    if (m_info)
        m_info->AddRef();
}

ComError& ComError::operator=(const ComError& other)
{
    if (this != &other) {
        if (other.m_info)
            other.m_info->AddRef();
        if (m_info)
            m_info->Release();
        m_hr = other.m_hr;
        m_info = other.m_info;
        m_message = other.m_message;
    }
    return *this;
}

ComError::~ComError()
{
    if (m_info)
        m_info->Release();
}

std::string ComError::Description() const
{
    if (!m_info)
        return std::string();
    BSTR description = nullptr;
    if (FAILED(m_info->GetDescription(&description)))
        return std::string();
    return BstrText::Attach(description).AnsiString();
}

const std::string& ComError::ErrorMessage() const
{
    if (!m_message)
        m_message = std::make_shared<std::string>(ErrorMessageFor(m_hr));
    return *m_message;
}

std::string ErrorMessageFor(HRESULT hr)
{
    char* text = nullptr;
    DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(hr), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
        reinterpret_cast<char*>(&text), 0, nullptr);
    if (length && text) {
        std::string message(text, length);
        LocalFree(text);
        if (!message.empty() && message.back() == '\n') {
            message.pop_back();
            if (!message.empty() && message.back() == '\r')
                message.pop_back();
        }
        return message;
    }
    if (text)
        LocalFree(text);
    char buffer[32];
    unsigned long code = static_cast<unsigned long>(hr);
    unsigned dispatchCode = static_cast<unsigned>((code - 0x200) & 0xFFFF);
    if (code >= 0x80040200UL && code <= 0x8004FFFFUL && dispatchCode != 0)
        std::snprintf(buffer, sizeof buffer, "IDispatch error #%d", static_cast<int>(dispatchCode));
    else
        std::snprintf(buffer, sizeof buffer, "Unknown error 0x%0lX", code);
    return buffer;
}

void ThrowComCallError(HRESULT hr, IUnknown* object, REFIID iid)
{
    IErrorInfo* info = nullptr;
    if (object) {
        ISupportErrorInfo* support = nullptr;
        if (SUCCEEDED(object->QueryInterface(IID_ISupportErrorInfo,
                                             reinterpret_cast<void**>(&support)))) {
            if (support->InterfaceSupportsErrorInfo(iid) == S_OK && GetErrorInfo(0, &info) != S_OK)
                info = nullptr;
            support->Release();
        }
    }
    throw ComError(hr, info, false);
}

} // namespace nv
