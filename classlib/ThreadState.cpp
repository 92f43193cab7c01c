#include "classlib/ThreadState.h"

#include "classlib/ToolTipCtrl.h"

AFX_THREAD_STATE::AFX_THREAD_STATE() { m_lastInfo.cbSize = TTTOOLINFOA_V2_SIZE; }

AFX_THREAD_STATE::~AFX_THREAD_STATE() {
    m_temporaries.DeleteAll();
    // A tool tip whose window still lives when its thread ends is left to the system; destroying
    // it here would run window procedures in a thread that is going away.
    if (m_pToolTip && m_pToolTip->m_hWnd) (void)m_pToolTip.release();
}

namespace {

// Fiber-local storage frees the state when its thread ends (its callback runs then).
void WINAPI FreeThreadState(PVOID pState) { delete static_cast<AFX_THREAD_STATE*>(pState); }

DWORD ThreadStateSlot() {
    static const DWORD dwSlot = ::FlsAlloc(FreeThreadState);
    return dwSlot;
}

}  // namespace

AFX_THREAD_STATE* AfxGetThreadState() {
    DWORD dwSlot = ThreadStateSlot();
    auto* pState = static_cast<AFX_THREAD_STATE*>(::FlsGetValue(dwSlot));
    if (!pState) {
        pState = new AFX_THREAD_STATE;
        ::FlsSetValue(dwSlot, pState);
    }
    return pState;
}
