// Text value over a BSTR, with the semantics the module relies on from the COM
// support library's text type: shared ownership of one BSTR and a single-byte
// copy in the system code page, made on first demand and kept.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <memory>
#include <string>

namespace nv {

// Conversions through the system ANSI code page. A null pointer gives a null
// BSTR and back.
BSTR AnsiToBstr(const char* text);
BSTR AnsiToBstr(const std::string& text);
std::string BstrToAnsi(BSTR text);
std::string WideToAnsi(const wchar_t* text, size_t length);

class BstrText {
public:
    BstrText() = default;
    explicit BstrText(const char* text);
    explicit BstrText(const std::string& text);
    // Takes ownership of `text` (a BSTR returned by a COM call).
    static BstrText Attach(BSTR text);

    BSTR Get() const { return m_data ? m_data->bstr : nullptr; }
    bool IsNull() const { return Get() == nullptr; }
    UINT Length() const { return Get() ? SysStringLen(Get()) : 0; }
    // The single-byte form; null for a null BSTR.
    const char* Ansi() const;
    std::string AnsiString() const;

private:
    struct Data {
        BSTR bstr = nullptr;
        std::string ansi;
        bool ansiMade = false;
        ~Data() { SysFreeString(bstr); }
    };
    std::shared_ptr<Data> m_data;
};

} // namespace nv
