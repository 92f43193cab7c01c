// A system handle closed when it goes.
#pragma once

#include <windows.h>

class CHandle {
public:
    explicit CHandle(HANDLE hHandle = nullptr) : m_hHandle(hHandle == INVALID_HANDLE_VALUE ? nullptr : hHandle) {}
    ~CHandle() { Reset(); }
    CHandle(const CHandle&) = delete;
    CHandle& operator=(const CHandle&) = delete;
    HANDLE Get() const { return m_hHandle; }
    HANDLE* Out() { return &m_hHandle; }
    void Reset(HANDLE hHandle = nullptr) {
        if (m_hHandle) ::CloseHandle(m_hHandle);
        m_hHandle = hHandle == INVALID_HANDLE_VALUE ? nullptr : hHandle;
    }

private:
    HANDLE m_hHandle;
};
