#include "toolkit/common/NotificationConnection.h"


KLV_NOTIFYCOOKIE CKLVNotificationConnection::Advise(KLV_NOTIFYCODE dwNotifyCode, CKLVNotificationSink* pSink) {
    CSingleLock lock(GetLock(), TRUE);
    // A counter rather than an address: a cookie is never reused, so a send that copied an
    // entry can never mistake a later advise for it.
    const KLV_NOTIFYCOOKIE dwCookie = ++m_dwLastCookie;
    m_arrConnections.push_back(Entry{dwNotifyCode, pSink, dwCookie});
    return dwCookie;
}

int CKLVNotificationConnection::FindUnlocked(KLV_NOTIFYCOOKIE dwCookie) const {
    for (size_t i = 0; i < m_arrConnections.size(); ++i)
        if (m_arrConnections[i].dwCookie == dwCookie) return static_cast<int>(i);
    return -1;
}

int CKLVNotificationConnection::FindConnection(KLV_NOTIFYCOOKIE dwCookie) {
    CSingleLock lock(GetLock(), TRUE);
    return FindUnlocked(dwCookie);
}

void CKLVNotificationConnection::Unadvise(KLV_NOTIFYCOOKIE dwCookie) {
    CSingleLock lock(GetLock(), TRUE);
    int nIndex = FindUnlocked(dwCookie);
    if (nIndex >= 0) m_arrConnections.erase(m_arrConnections.begin() + nIndex);
}

void CKLVNotificationConnection::RemoveAll() {
    CSingleLock lock(GetLock(), TRUE);
    m_arrConnections.clear();
}

BOOL CKLVNotificationConnection::Notify(KLV_NOTIFYCODE dwNotifyCode, WPARAM pParam1, LPARAM pParam2, DWORD dwFlags) {
    // A sink may release the publisher's last reference during the send.
    InternalAddRef();
    // Each send works on its own copy, so nested sends and sends of other threads never share
    // one list.
    std::vector<Entry> send;
    {
        CSingleLock lock(GetLock(), TRUE);
        for (const Entry& entry : m_arrConnections)
            if (entry.dwNotifyCode == dwNotifyCode) send.push_back(entry);
    }
    for (const Entry& entry : send)
        if (FindConnection(entry.dwCookie) >= 0 && entry.pSink)
            entry.pSink->OnEvent(dwNotifyCode, pParam1, pParam2, dwFlags);
    const BOOL bFound = !send.empty();
    InternalRelease();
    return bFound;
}

KLV_NOTIFYCOOKIE CKLVNotificationSink::Advise(CKLVNotificationConnection* pConnection, KLV_NOTIFYCODE dwNotifyCode) {
    if (!pConnection) return 0;
    KLV_NOTIFYCOOKIE dwCookie = pConnection->Advise(dwNotifyCode, this);
    if (!dwCookie) return 0;
    pConnection->InternalAddRef();
    m_mapAdvised[{pConnection, dwCookie}] = AdviseRecord{dwNotifyCode, pConnection, dwCookie};
    return dwCookie;
}

void CKLVNotificationSink::UnadviseAll() {
    auto advised = std::move(m_mapAdvised);
    m_mapAdvised.clear();
    for (const auto& entry : advised) {
        entry.second.pConnection->Unadvise(entry.second.dwCookie);
        entry.second.pConnection->InternalRelease();
    }
}
