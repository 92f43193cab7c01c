// Publish and subscribe by notification code: a publisher owns a connection, subscribers advise
// it through their sinks and receive every notification of the code they advised.
#pragma once

#include "classlib/ClassLib.h"

#include <map>
#include <vector>

class CKLVNotificationSink;

typedef DWORD KLV_NOTIFYCODE;
// Unique per advise for the life of the connection and never 0.
typedef DWORD_PTR KLV_NOTIFYCOOKIE;

// A lock that locks nothing: the single-threaded connection's.
class CKLVEmptySyncObject : public CSyncObject {
public:
    BOOL Lock(DWORD = INFINITE) override { return TRUE; }
    BOOL Unlock() override { return TRUE; }
};

class CKLVNotificationConnection : public CCmdTarget {
public:
    CKLVNotificationConnection() = default;
    ~CKLVNotificationConnection() override { RemoveAll(); }

    // 0 when the entry cannot be made. The same sink may be advised any number of times.
    KLV_NOTIFYCOOKIE Advise(KLV_NOTIFYCODE dwNotifyCode, CKLVNotificationSink* pSink);
    void Unadvise(KLV_NOTIFYCOOKIE dwCookie);
    int FindConnection(KLV_NOTIFYCOOKIE dwCookie);
    void RemoveAll();
    // Calls OnEvent of every sink advised for the code, in the order of advising, on this thread
    // and outside the lock. Sinks may advise, unadvise and notify from OnEvent; one unadvised
    // before its turn is skipped. TRUE when any entry for the code was found.
    BOOL Notify(KLV_NOTIFYCODE dwNotifyCode, WPARAM pParam1, LPARAM pParam2, DWORD dwFlags = 0);

    virtual CSyncObject* GetLock() { return &m_emptyLock; }

private:
    struct Entry {
        KLV_NOTIFYCODE dwNotifyCode;
        CKLVNotificationSink* pSink;
        KLV_NOTIFYCOOKIE dwCookie;
    };
    int FindUnlocked(KLV_NOTIFYCOOKIE dwCookie) const;

    std::vector<Entry> m_arrConnections;   // in the order of advising
    KLV_NOTIFYCOOKIE m_dwLastCookie = 0;
    CKLVEmptySyncObject m_emptyLock;
};

// Any thread may advise, unadvise and notify.
class CKLVNotificationConnectionMT : public CKLVNotificationConnection {
public:
    CSyncObject* GetLock() override { return &m_lock; }

private:
    CCriticalSection m_lock;
};

class CKLVNotificationSink {
public:
    CKLVNotificationSink() = default;
    virtual ~CKLVNotificationSink() { UnadviseAll(); }
    CKLVNotificationSink(const CKLVNotificationSink&) = delete;
    CKLVNotificationSink& operator=(const CKLVNotificationSink&) = delete;

    // The sink holds a reference to the connection until it unadvises. 0 when there is none.
    KLV_NOTIFYCOOKIE Advise(CKLVNotificationConnection* pConnection, KLV_NOTIFYCODE dwNotifyCode);
    void UnadviseAll();

    virtual void OnEvent(KLV_NOTIFYCODE dwNotifyCode, WPARAM pParam1, LPARAM pParam2, DWORD dwFlags) = 0;

private:
    struct AdviseRecord {
        KLV_NOTIFYCODE dwNotifyCode;
        CKLVNotificationConnection* pConnection;
        KLV_NOTIFYCOOKIE dwCookie;
    };
    // Keyed by connection and cookie: cookies are unique per connection only.
    std::map<std::pair<CKLVNotificationConnection*, KLV_NOTIFYCOOKIE>, AdviseRecord> m_mapAdvised;
};
