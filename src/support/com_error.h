// The COM error carried as an exception: an HRESULT, an optional error-info
// object and, made once on demand, the system's message for the HRESULT.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <memory>
#include <string>

namespace nv {

class ComError {
public:
    explicit ComError(HRESULT hr, IErrorInfo* info = nullptr, bool addRef = true);
    ComError(const ComError& other);
    ComError& operator=(const ComError& other);
    virtual ~ComError();

    HRESULT Error() const { return m_hr; }
    IErrorInfo* ErrorInfo() const { return m_info; }
    // The error-info description in the system code page; empty without one.
    std::string Description() const;
    // The system's message for the HRESULT (see ErrorMessageFor), made once.
    const std::string& ErrorMessage() const;

private:
    HRESULT m_hr;
    IErrorInfo* m_info;
    mutable std::shared_ptr<std::string> m_message;
};

// FormatMessage text of `hr` without its trailing line break; for codes the
// system has no text for, "IDispatch error #n" or "Unknown error 0x...".
std::string ErrorMessageFor(HRESULT hr);

// Raises the failure of a COM call on `object` through interface `iid`, with
// the error info the object left when it declares support for it.
[[noreturn]] void ThrowComCallError(HRESULT hr, IUnknown* object, REFIID iid);

// Runs a COM call's HRESULT through ThrowComCallError when it failed.
inline void CheckCall(HRESULT hr, IUnknown* object, REFIID iid)
{
    if (FAILED(hr))
        ThrowComCallError(hr, object, iid);
}

} // namespace nv
