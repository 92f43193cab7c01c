#include "toolkit/common/WindowSubclasser.h"

#include "classlib/ThreadState.h"

#include <algorithm>

CKLVHookedWindow::CKLVHookedWindow(HWND hWnd)
    : m_pfnOldWndProc(reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC))), m_hWnd(hWnd) {}

CKLVHookedWindow::~CKLVHookedWindow() {
    ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnOldWndProc));
    for (auto it = m_arrSinks.rbegin(); it != m_arrSinks.rend(); ++it)
        if ((*it)->m_bAutoDestroy) delete *it;
}

int CKLVHookedWindow::FindSink(CKLVHookSink* pSink) const {
    auto it = std::find(m_arrSinks.begin(), m_arrSinks.end(), pSink);
    return it == m_arrSinks.end() ? -1 : static_cast<int>(it - m_arrSinks.begin());
}

BOOL CKLVHookedWindow::RemoveSink(CKLVHookSink* pSink) {
    int nIndex = FindSink(pSink);
    if (nIndex < 0) return FALSE;
    m_arrSinks.erase(m_arrSinks.begin() + nIndex);
    if (pSink->m_bAutoDestroy) delete pSink;
    return TRUE;
}

CKLVWindowSubclasser::~CKLVWindowSubclasser() { m_mapWindows.clear(); }

CKLVHookedWindow* CKLVWindowSubclasser::Lookup(HWND hWnd) const {
    auto it = m_mapWindows.find(hWnd);
    return it == m_mapWindows.end() ? nullptr : it->second.get();
}

void CKLVWindowSubclasser::HookWindow(HWND hWnd, CKLVHookSink* pSink) {
    if (CKLVHookedWindow* pRecord = Lookup(hWnd)) {
        if (pRecord->FindSink(pSink) < 0) pRecord->m_arrSinks.push_back(pSink);
        return;
    }
    auto pRecord = std::make_unique<CKLVHookedWindow>(hWnd);
    pRecord->m_arrSinks.push_back(pSink);
    ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HookWndProc));
    m_mapWindows[hWnd] = std::move(pRecord);
}

void CKLVWindowSubclasser::RemoveFromChain(HWND hWnd, CKLVHookSink* pSink) {
    CKLVHookedWindow* pRecord = Lookup(hWnd);
    if (pRecord && pRecord->RemoveSink(pSink) && pRecord->m_arrSinks.empty()) m_mapWindows.erase(hWnd);
}

void CKLVWindowSubclasser::UnhookWindow(HWND hWnd, CKLVHookSink* pSink) { RemoveFromChain(hWnd, pSink); }

void CKLVWindowSubclasser::RemoveSink(CKLVHookSink* pSink) {
    std::vector<HWND> windows;
    for (const auto& entry : m_mapWindows) windows.push_back(entry.first);
    for (HWND hWnd : windows) RemoveFromChain(hWnd, pSink);
}

LRESULT CALLBACK CKLVWindowSubclasser::HookWndProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam) {
    // Sinks that ask the class library for the current message see this one.
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    const MSG saved = pState->m_lastSentMsg;
    pState->m_lastSentMsg.hwnd = hWnd;
    pState->m_lastSentMsg.message = nMessage;
    pState->m_lastSentMsg.wParam = wParam;
    pState->m_lastSentMsg.lParam = lParam;
    LRESULT lResult = KLVWindowSubclasser()->Dispatch(hWnd, nMessage, wParam, lParam);
    pState->m_lastSentMsg = saved;
    return lResult;
}

LRESULT CKLVWindowSubclasser::Dispatch(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam) {
    CKLVHookedWindow* pRecord = Lookup(hWnd);
    if (!pRecord) return 0;
    const WNDPROC pfnOldWndProc = pRecord->m_pfnOldWndProc;
    if (nMessage == WM_NCDESTROY) {
        // The window's own procedure is back in place before it sees its last message.
        m_mapWindows.erase(hWnd);
        return ::CallWindowProcA(pfnOldWndProc, hWnd, nMessage, wParam, lParam);
    }
    LRESULT lResult = 0;
    // Newest first. A sink may leave the chain, or unhook the window altogether, while it is
    // asked: the chain is looked up again before every sink.
    for (int i = static_cast<int>(pRecord->m_arrSinks.size()) - 1; i >= 0; --i) {
        pRecord = Lookup(hWnd);
        if (!pRecord) break;
        if (i >= static_cast<int>(pRecord->m_arrSinks.size())) i = static_cast<int>(pRecord->m_arrSinks.size()) - 1;
        if (i < 0) break;
        int nAnswer = pRecord->m_arrSinks[i]->OnHookMessage(hWnd, nMessage, wParam, lParam, lResult);
        if (nAnswer == CKLVHookSink::hookHandled) return lResult;
        if (nAnswer == CKLVHookSink::hookStop) break;
    }
    return ::CallWindowProcA(pfnOldWndProc, hWnd, nMessage, wParam, lParam);
}

CKLVWindowSubclasser* KLVWindowSubclasser() {
    static CKLVWindowSubclasser s_subclasser;
    return &s_subclasser;
}
