// A VARIANT that clears itself: a text, or bytes for the parser to read.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>

namespace nv {

class VariantValue {
public:
    VariantValue() { VariantInit(&m_value); }
    explicit VariantValue(const std::string& text);
    // VT_ARRAY | VT_UI1 holding `bytes`; raises std::bad_alloc when the
    // array cannot be made.
    static VariantValue Bytes(const std::string& bytes);
    ~VariantValue() { VariantClear(&m_value); }
    VariantValue(VariantValue&& other) noexcept : m_value(other.m_value)
    {
        VariantInit(&other.m_value);
    }
    VariantValue(const VariantValue&) = delete;
    VariantValue& operator=(const VariantValue&) = delete;

    const VARIANT& Get() const { return m_value; }
    // For out-parameters: clears what is held first.
    VARIANT* Receive();

private:
    VARIANT m_value;
};

} // namespace nv
