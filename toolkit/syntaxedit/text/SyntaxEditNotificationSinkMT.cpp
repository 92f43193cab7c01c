#include "toolkit/syntaxedit/text/SyntaxEditNotificationSinkMT.h"

namespace {

const DWORD kRetryPostMs = 100;

}  // namespace

CKLVNotificationSinkMTBase::CKLVNotificationSinkMTBase() : m_dwThreadId(::GetCurrentThreadId()) { m_wnd.CreateWnd(); }

CKLVNotificationSinkMTBase::~CKLVNotificationSinkMTBase() {
    // No event may arrive while the sink is taken apart.
    UnadviseAll();
    if (m_wnd.GetSafeHwnd()) m_wnd.DestroyWindow();
}

void CKLVNotificationSinkMTBase::OnEvent(KLV_NOTIFYCODE dwNotifyCode, WPARAM pParam1, LPARAM pParam2, DWORD dwFlags) {
    const CEvent event{dwNotifyCode, pParam1, pParam2, dwFlags};
    if ((dwFlags & KLV_NOTIFY_DIRECT_ON_SAME) && ::GetCurrentThreadId() == m_dwThreadId) {
        Dispatch(dwNotifyCode, pParam1, pParam2);
    } else if (!(dwFlags & KLV_NOTIFY_POST)) {
        ::SendMessageA(m_wnd.GetSafeHwnd(), KLV_WM_NOTIFICATIONSINKMT_ONEVENT, reinterpret_cast<WPARAM>(&event), 0);
    } else {
        Post(event);
    }
}

void CKLVNotificationSinkMTBase::Post(const CEvent& event) {
    for (;;) {
        DWORD dwNumber;
        {
            CSingleLock lock(&m_lock, TRUE);
            dwNumber = ++m_dwNextNumber;
            m_mapPending[dwNumber] = event;
        }
        // Posting goes through the window system's server, which under load takes long enough
        // that the window thread, waiting for the lock to take each event it handles, fell
        // milliseconds behind per event: the lock guards the queue only.
        const BOOL bPosted = ::PostMessageA(m_wnd.GetSafeHwnd(), KLV_WM_NOTIFICATIONSINKMT_ONEVENT, 0, dwNumber);
        {
            CSingleLock lock(&m_lock, TRUE);
            if (bPosted) {
                m_nFailedPosts = 0;
                return;
            }
            m_mapPending.erase(dwNumber);
            // Without its window nothing would ever drain the queue.
            if (!(event.dwFlags & KLV_NOTIFY_RETRY_POST) || m_bPostsCancelled || !::IsWindow(m_wnd.GetSafeHwnd())) {
                ++m_nFailedPosts;
                return;
            }
        }
        ::Sleep(kRetryPostMs);
    }
}

void CKLVNotificationSinkMTBase::DispatchPosted(DWORD dwNumber) {
    CEvent event{};
    {
        CSingleLock lock(&m_lock, TRUE);
        auto it = m_mapPending.find(dwNumber);
        if (it == m_mapPending.end()) return;
        event = it->second;
        m_mapPending.erase(it);
    }
    Dispatch(event.dwNotifyCode, event.pParam1, event.pParam2);
}

LRESULT CKLVNotificationSinkMTBase::CMsgWnd::OnInterThreadEvent(WPARAM wParam, LPARAM lParam) {
    if (wParam) {
        const CEvent& event = *reinterpret_cast<const CEvent*>(wParam);
        m_pSink->Dispatch(event.dwNotifyCode, event.pParam1, event.pParam2);
    } else {
        m_pSink->DispatchPosted(static_cast<DWORD>(lParam));
    }
    return 0;
}
