#include "support/variant_value.h"

#include "support/bstr_text.h"

namespace nv {

VariantValue::VariantValue(const std::string& text)
{
    VariantInit(&m_value);
    m_value.vt = VT_BSTR;
    V_BSTR(&m_value) = AnsiToBstr(text);
}

VARIANT* VariantValue::Receive()
{
    VariantClear(&m_value);
    return &m_value;
}

} // namespace nv
