// The XML layer's single error model: every failure leaves the layer as a COM
// error. Checks of the layer raise NvXmlException, whose description lives in
// an error-info object, so callers that catch nv::ComError read it the same way
// as the error info of a failed DOM call.
#pragma once

#include "support/com_error.h"

namespace NvXmlClass {

class NvXmlException : public nv::ComError {
public:
    NvXmlException(HRESULT hr, IErrorInfo* info, bool addRef = true)
        : nv::ComError(hr, info, addRef)
    {
    }
};

// A text or file that the parser read and found not to be XML: its content
// is at fault, not the parser, the memory or the file system.
class NvXmlParseError : public NvXmlException {
public:
    using NvXmlException::NvXmlException;
};

// Raises an NvXmlException with `hr` and the printf-formatted description when
// `condition` holds. Should the error-info object not be available, a plain
// nv::ComError with E_FAIL is raised instead.
void ThrowIf(bool condition, HRESULT hr, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
// Raises an NvXmlParseError, as ThrowIf raises its exception.
[[noreturn]] void ThrowParseError(HRESULT hr, const std::string& description);

} // namespace NvXmlClass
