// COM initialised on the calling thread for the length of a call. The caller
// may have initialised COM itself (this then only counts up and back down),
// not at all, or for the multithreaded apartment (CoInitialize then fails and
// nothing is undone): only an initialisation that succeeded is ended. Made
// before the call's COM objects, it ends after they are released.
#pragma once

#include <objbase.h>

namespace nv {

class ComApartment {
public:
    ComApartment() : m_initialised(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComApartment()
    {
        if (m_initialised)
            CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    // For a document handed to the caller: it needs COM on this thread for as
    // long as the caller holds it, so the initialisation is not ended.
    void Keep() { m_initialised = false; }

private:
    bool m_initialised;
};

} // namespace nv
