#include "shutdown/held_process.h"

#include <utility>

namespace nv {

namespace {

const DWORD kHoldAccess = PROCESS_TERMINATE | SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION;

} // namespace

HeldProcess::HeldProcess(DWORD processId)
    : m_processId(processId), m_handle(OpenProcess(kHoldAccess, FALSE, processId))
{
}

HeldProcess::~HeldProcess() { Release(); }

HeldProcess::HeldProcess(HeldProcess&& other) noexcept
    : m_processId(other.m_processId), m_handle(std::exchange(other.m_handle, nullptr))
{
}

HeldProcess& HeldProcess::operator=(HeldProcess&& other) noexcept
{
    if (this != &other) {
        Release();
        m_processId = other.m_processId;
        m_handle = std::exchange(other.m_handle, nullptr);
    }
    return *this;
}

void HeldProcess::Release()
{
    if (m_handle)
        CloseHandle(m_handle);
    m_handle = nullptr;
}

void HeldProcess::TerminateIfOwner(HWND window) const
{
    if (!m_handle)
        return;
    DWORD owner = 0;
    if (!GetWindowThreadProcessId(window, &owner) || owner != m_processId)
        return;
    if (WaitForSingleObject(m_handle, 0) == WAIT_TIMEOUT)
        TerminateProcess(m_handle, 0);
}

} // namespace nv
