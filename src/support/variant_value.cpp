#include "support/variant_value.h"

#include "support/bstr_text.h"

#include <cstring>
#include <new>

namespace nv {

VariantValue::VariantValue(const std::string& text)
{
    VariantInit(&m_value);
    m_value.vt = VT_BSTR;
    V_BSTR(&m_value) = AnsiToBstr(text);
}

VariantValue VariantValue::Bytes(const std::string& bytes)
{
    SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
    void* data = nullptr;
    if (!array || FAILED(SafeArrayAccessData(array, &data))) {
        if (array)
            SafeArrayDestroy(array);
        throw std::bad_alloc();
    }
    if (!bytes.empty())
        std::memcpy(data, bytes.data(), bytes.size());
    SafeArrayUnaccessData(array);
    VariantValue value;
    value.m_value.vt = VT_ARRAY | VT_UI1;
    V_ARRAY(&value.m_value) = array;
    return value;
}

VARIANT* VariantValue::Receive()
{
    VariantClear(&m_value);
    return &m_value;
}

} // namespace nv
