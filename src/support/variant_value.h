// A VARIANT that clears itself; the module builds only VT_BSTR variants.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>

namespace nv {

class VariantValue {
public:
    VariantValue() { VariantInit(&m_value); }
    explicit VariantValue(const std::string& text);
    ~VariantValue() { VariantClear(&m_value); }
    VariantValue(const VariantValue&) = delete;
    VariantValue& operator=(const VariantValue&) = delete;

    const VARIANT& Get() const { return m_value; }
    // For out-parameters: clears what is held first.
    VARIANT* Receive();

private:
    VARIANT m_value;
};

} // namespace nv
