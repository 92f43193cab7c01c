// Publish and subscribe by notification code: a connection publishes, a sink subscribes to one
// code of a connection at a time and receives each notification through OnEvent.
#pragma once

#include "classlib/ClassLib.h"

#include <map>
#include <vector>

class CKLVNotificationSink;

class CKLVNotificationConnection : public CCmdTarget {
public:
    CKLVNotificationConnection() = default;
    ~CKLVNotificationConnection() override;

    // The cookie names the subscription; it is never 0.
    DWORD_PTR Advise(DWORD dwCode, CKLVNotificationSink* pSink);
    void Unadvise(DWORD_PTR dwCookie);
    void RemoveAll();
    // Calls every sink advised for the code, in the order of advising; a sink unadvised during
    // the send is skipped. TRUE when any subscription for the code was found.
    BOOL Notify(DWORD dwCode, WPARAM wParam, LPARAM lParam, DWORD dwFlags);

protected:
    struct CEntry {
        DWORD dwCode;
        CKLVNotificationSink* pSink;
        DWORD_PTR dwCookie;
    };
    BOOL IsAdvised(DWORD_PTR dwCookie) const;

    std::vector<CEntry> m_arConnections;
    DWORD_PTR m_dwNextCookie = 1;
};

class CKLVNotificationSink {
public:
    CKLVNotificationSink() = default;
    CKLVNotificationSink(const CKLVNotificationSink&) = delete;
    CKLVNotificationSink& operator=(const CKLVNotificationSink&) = delete;
    virtual ~CKLVNotificationSink();

    virtual void OnEvent(DWORD dwCode, WPARAM wParam, LPARAM lParam, DWORD dwFlags) = 0;

    // Subscribes to one code; the sink holds a reference to the connection until UnadviseAll.
    // 0 when there is no connection.
    DWORD_PTR Advise(CKLVNotificationConnection* pConnection, DWORD dwCode);
    void UnadviseAll();

private:
    std::map<DWORD_PTR, CKLVNotificationConnection*> m_mapAdvised;
};
