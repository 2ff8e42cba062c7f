#include "xml/nv_xml_error.h"

#include "support/bstr_text.h"
#include "support/com_ptr.h"
#include "support/text.h"

namespace NvXmlClass {

namespace {

template <class Error> [[noreturn]] void Raise(HRESULT hr, const std::string& description)
{
    nv::ComPtr<ICreateErrorInfo> creator;
    if (FAILED(CreateErrorInfo(creator.Receive())) || !creator)
        throw nv::ComError(E_FAIL);
    nv::BstrText text(description);
    creator->SetDescription(text.Get());
    IErrorInfo* info = nullptr;
    if (FAILED(creator->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info))) || !info)
        throw nv::ComError(E_FAIL);
    throw Error(hr, info, false);
}

} // namespace

void ThrowIf(bool condition, HRESULT hr, const char* format, ...)
{
    if (!condition)
        return;
    va_list args;
    va_start(args, format);
    // Formatted before anything is thrown, so the argument list is ended here.
    std::string description = nv::FormatTextV(format, args);
    va_end(args);
    Raise<NvXmlException>(hr, description);
}

void ThrowParseError(HRESULT hr, const std::string& description)
{
    Raise<NvXmlParseError>(hr, description);
}

} // namespace NvXmlClass
