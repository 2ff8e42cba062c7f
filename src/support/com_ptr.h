// Interface holder: owns one reference to a COM interface. Assigning a holder
// of another interface type queries for this one; E_NOINTERFACE leaves the
// holder null, any other failing query raises a ComError.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <utility>

#include "support/com_error.h"

namespace nv {

template <class T> class ComPtr {
public:
    ComPtr() = default;
    ComPtr(T* p) : m_p(p)
    {
        if (m_p)
            m_p->AddRef();
    }
    ComPtr(const ComPtr& other) : ComPtr(other.m_p) {}
    ComPtr(ComPtr&& other) noexcept : m_p(other.m_p) { other.m_p = nullptr; }
    template <class U> ComPtr(const ComPtr<U>& other, REFIID iid) { QueryFrom(other.Get(), iid); }
    ~ComPtr() { Release(); }

    ComPtr& operator=(const ComPtr& other)
    {
        ComPtr copy(other);
        Swap(copy);
        return *this;
    }
    ComPtr& operator=(ComPtr&& other) noexcept
    {
        ComPtr moved(std::move(other));
        Swap(moved);
        return *this;
    }

    // Queries `source` for `iid`. E_NOINTERFACE gives null; other failures raise.
    void QueryFrom(IUnknown* source, REFIID iid)
    {
        Release();
        if (!source)
            return;
        HRESULT hr = source->QueryInterface(iid, reinterpret_cast<void**>(&m_p));
        if (FAILED(hr)) {
            m_p = nullptr;
            if (hr != E_NOINTERFACE)
                throw ComError(hr);
        }
    }

    void Release()
    {
        if (m_p) {
            T* p = m_p;
            m_p = nullptr;
            p->Release();
        }
    }
    // Takes over a reference the caller already owns.
    void Attach(T* p)
    {
        Release();
        m_p = p;
    }
    T* Detach()
    {
        T* p = m_p;
        m_p = nullptr;
        return p;
    }
    // For out-parameters of COM calls: releases what is held first.
    T** Receive()
    {
        Release();
        return &m_p;
    }

    T* Get() const { return m_p; }
    // Calling through a null holder is a COM error, as with the support library.
    T* operator->() const
    {
        if (!m_p)
            throw ComError(E_POINTER);
        return m_p;
    }
    explicit operator bool() const { return m_p != nullptr; }
    void Swap(ComPtr& other) noexcept
    {
        T* p = m_p;
        m_p = other.m_p;
        other.m_p = p;
    }

private:
    T* m_p = nullptr;
};

} // namespace nv
