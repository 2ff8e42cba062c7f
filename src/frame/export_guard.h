// No C++ exception may cross the module boundary: callers are built with other
// compilers and languages and cannot catch it. Every exported body runs inside
// GuardExport; an escaping error becomes the export's neutral result, and its
// description is left as the thread's COM error info for GetErrorInfo.
#pragma once

#include "support/com_error.h"

#include <new>
#include <utility>

namespace nv {

// Leaves `error` as the calling thread's error info.
void PublishErrorInfo(const ComError& error) noexcept;

template <class R, class Body> R GuardExport(R onError, Body&& body) noexcept
{
    try {
        return std::forward<Body>(body)();
    } catch (const ComError& error) {
        PublishErrorInfo(error);
    } catch (const std::bad_alloc&) {
        PublishErrorInfo(ComError(E_OUTOFMEMORY));
    } catch (...) {
        PublishErrorInfo(ComError(E_UNEXPECTED));
    }
    return onError;
}

template <class Body> void GuardExportVoid(Body&& body) noexcept
{
    GuardExport(0, [&] {
        std::forward<Body>(body)();
        return 0;
    });
}

} // namespace nv
