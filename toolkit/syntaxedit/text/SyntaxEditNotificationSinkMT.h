// A notification sink that runs its owner's handlers on the thread that created it: events
// from other threads are sent or posted to its hidden window, as the flags of Notify ask.
#pragma once

#include "toolkit/common/NotificationSinkMTWnd.h"

#include <atomic>
#include <map>

class CKLVNotificationSinkMTBase : public CKLVNotificationSink {
public:
    // Creates the hidden window on the calling thread, which receives the events.
    CKLVNotificationSinkMTBase();
    ~CKLVNotificationSinkMTBase() override;

    void OnEvent(KLV_NOTIFYCODE dwNotifyCode, WPARAM pParam1, LPARAM pParam2, DWORD dwFlags) override;
    // Posts that failed and were dropped since the last success.
    int GetFailedPostCount() const { return m_nFailedPosts; }
    // While set, a post that fails is dropped even when the sender asked to retry it: the
    // sender is being stopped, or the thread that would drain the queue waits for it.
    void SetPostsCancelled(BOOL bCancelled) { m_bPostsCancelled = bCancelled != FALSE; }

protected:
    // Runs on the sink's thread.
    virtual void Dispatch(KLV_NOTIFYCODE dwNotifyCode, WPARAM pParam1, LPARAM pParam2) = 0;

private:
    struct CEvent {
        KLV_NOTIFYCODE dwNotifyCode;
        WPARAM pParam1;
        LPARAM pParam2;
        DWORD dwFlags;
    };
    class CMsgWnd : public CKLVNotificationSinkMTWnd {
    public:
        explicit CMsgWnd(CKLVNotificationSinkMTBase* pSink) : m_pSink(pSink) {}

    protected:
        LRESULT OnInterThreadEvent(WPARAM wParam, LPARAM lParam) override;

    private:
        CKLVNotificationSinkMTBase* m_pSink;
    };
    void Post(const CEvent& event);
    void DispatchPosted(DWORD dwNumber);

    DWORD m_dwThreadId;
    CMsgWnd m_wnd{this};
    CCriticalSection m_lock;
    std::map<DWORD, CEvent> m_mapPending;
    DWORD m_dwNextNumber = 0;
    int m_nFailedPosts = 0;
    std::atomic<bool> m_bPostsCancelled{false};
};

// Handlers are member functions of the owner, one per notification code.
template <class TOwner>
class CKLVNotificationSinkMT : public CKLVNotificationSinkMTBase {
public:
    typedef void (TOwner::*PFNHANDLER)(KLV_NOTIFYCODE dwNotifyCode, WPARAM pParam1, LPARAM pParam2);

    explicit CKLVNotificationSinkMT(TOwner* pOwner) : m_pOwner(pOwner) {}

    KLV_NOTIFYCOOKIE Advise(CKLVNotificationConnection* pConnection, KLV_NOTIFYCODE dwNotifyCode,
                            PFNHANDLER pfnHandler) {
        m_mapHandlers[dwNotifyCode] = pfnHandler;
        return CKLVNotificationSink::Advise(pConnection, dwNotifyCode);
    }

protected:
    void Dispatch(KLV_NOTIFYCODE dwNotifyCode, WPARAM pParam1, LPARAM pParam2) override {
        auto it = m_mapHandlers.find(dwNotifyCode);
        if (it != m_mapHandlers.end()) (m_pOwner->*(it->second))(dwNotifyCode, pParam1, pParam2);
    }

private:
    TOwner* m_pOwner;
    std::map<KLV_NOTIFYCODE, PFNHANDLER> m_mapHandlers;
};
