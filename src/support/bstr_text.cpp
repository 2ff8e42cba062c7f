#include "support/bstr_text.h"

#include <cstring>
#include <new>
#include <vector>

namespace nv {

BSTR AnsiToBstr(const char* text)
{
    if (!text)
        return nullptr;
    int length = static_cast<int>(strlen(text));
    int wide = MultiByteToWideChar(CP_ACP, 0, text, length, nullptr, 0);
    BSTR result = SysAllocStringLen(nullptr, static_cast<UINT>(wide));
    if (!result)
        throw std::bad_alloc();
    if (wide > 0)
        MultiByteToWideChar(CP_ACP, 0, text, length, result, wide);
    result[wide] = L'\0';
    return result;
}

BSTR AnsiToBstr(const std::string& text) { return AnsiToBstr(text.c_str()); }

std::string WideToAnsi(const wchar_t* text, size_t length)
{
    if (!text || length == 0)
        return std::string();
    int wideLength = static_cast<int>(length);
    int bytes = WideCharToMultiByte(CP_ACP, 0, text, wideLength, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return std::string();
    std::string result(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, wideLength, &result[0], bytes, nullptr, nullptr);
    // A BSTR may carry embedded zeros; the single-byte form ends at the first.
    size_t zero = result.find('\0');
    if (zero != std::string::npos)
        result.resize(zero);
    return result;
}

std::string BstrToAnsi(BSTR text)
{
    return text ? WideToAnsi(text, SysStringLen(text)) : std::string();
}

BstrText::BstrText(const char* text)
{
    if (text) {
        m_data = std::make_shared<Data>();
        m_data->bstr = AnsiToBstr(text);
    }
}

BstrText::BstrText(const std::string& text) : BstrText(text.c_str()) {}

BstrText BstrText::Attach(BSTR text)
{
    BstrText value;
    if (text) {
        value.m_data = std::make_shared<Data>();
        value.m_data->bstr = text;
    }
    return value;
}

const char* BstrText::Ansi() const
{
    if (!m_data || !m_data->bstr)
        return nullptr;
    if (!m_data->ansiMade) {
        m_data->ansi = BstrToAnsi(m_data->bstr);
        m_data->ansiMade = true;
    }
    return m_data->ansi.c_str();
}

std::string BstrText::AnsiString() const
{
    const char* text = Ansi();
    return text ? std::string(text) : std::string();
}

} // namespace nv
