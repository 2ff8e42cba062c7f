// The process that owned a candidate window when the windows were collected,
// held open from then on. While a handle is open the system cannot give the
// process id to another process, so a window that still reports the id belongs
// to this very process: an unrelated program that was handed a reused id can
// never be terminated in its place.
#pragma once

#include <windows.h>

namespace nv {

class HeldProcess {
public:
    HeldProcess() = default;
    // Holds nothing when the process cannot be opened; it is then never terminated.
    explicit HeldProcess(DWORD processId);
    ~HeldProcess();
    HeldProcess(HeldProcess&& other) noexcept;
    HeldProcess& operator=(HeldProcess&& other) noexcept;

    // Terminates the process with exit code 0 while it still runs and `window`
    // still belongs to it; one that ended or gave up the window meanwhile has
    // closed by itself and is left alone.
    void TerminateIfOwner(HWND window) const;

private:
    void Release();

    DWORD m_processId = 0;
    HANDLE m_handle = nullptr;
};

} // namespace nv
