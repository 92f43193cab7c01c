#include "toolkit/common/NotificationConnection.h"

#include <algorithm>

CKLVNotificationConnection::~CKLVNotificationConnection() { RemoveAll(); }

DWORD_PTR CKLVNotificationConnection::Advise(DWORD dwCode, CKLVNotificationSink* pSink) {
    DWORD_PTR dwCookie = m_dwNextCookie++;
    m_arConnections.push_back({dwCode, pSink, dwCookie});
    return dwCookie;
}

void CKLVNotificationConnection::Unadvise(DWORD_PTR dwCookie) {
    auto it = std::find_if(m_arConnections.begin(), m_arConnections.end(),
                           [dwCookie](const CEntry& entry) { return entry.dwCookie == dwCookie; });
    if (it != m_arConnections.end()) m_arConnections.erase(it);
}

void CKLVNotificationConnection::RemoveAll() { m_arConnections.clear(); }

BOOL CKLVNotificationConnection::IsAdvised(DWORD_PTR dwCookie) const {
    return std::any_of(m_arConnections.begin(), m_arConnections.end(),
                       [dwCookie](const CEntry& entry) { return entry.dwCookie == dwCookie; });
}

BOOL CKLVNotificationConnection::Notify(DWORD dwCode, WPARAM wParam, LPARAM lParam, DWORD dwFlags) {
    // A sink may release the publisher's last reference, advise or unadvise while it is called:
    // send from a copy and keep the connection alive until the send is over.
    InternalAddRef();
    std::vector<CEntry> arSend;
    for (const CEntry& entry : m_arConnections)
        if (entry.dwCode == dwCode) arSend.push_back(entry);
    for (const CEntry& entry : arSend)
        if (entry.pSink && IsAdvised(entry.dwCookie)) entry.pSink->OnEvent(dwCode, wParam, lParam, dwFlags);
    InternalRelease();
    return !arSend.empty();
}

CKLVNotificationSink::~CKLVNotificationSink() { UnadviseAll(); }

DWORD_PTR CKLVNotificationSink::Advise(CKLVNotificationConnection* pConnection, DWORD dwCode) {
    if (!pConnection) return 0;
    DWORD_PTR dwCookie = pConnection->Advise(dwCode, this);
    if (!dwCookie) return 0;
    pConnection->InternalAddRef();
    m_mapAdvised[dwCookie] = pConnection;
    return dwCookie;
}

void CKLVNotificationSink::UnadviseAll() {
    std::map<DWORD_PTR, CKLVNotificationConnection*> mapAdvised;
    mapAdvised.swap(m_mapAdvised);
    for (auto& [dwCookie, pConnection] : mapAdvised) {
        pConnection->Unadvise(dwCookie);
        pConnection->InternalRelease();
    }
}
