// The hidden message window through which multi-threaded notification sinks hand events to the
// thread that made them, and the flags of Notify those sinks read.
#pragma once

#include "classlib/Wnd.h"
#include "toolkit/common/NotificationConnection.h"
#include "toolkit/common/StartupRegistrations.h"

// The flags of Notify as multi-threaded sinks read them.
enum : DWORD {
    KLV_NOTIFY_POST = 0x80000000,          // post to the sink's thread (else send and wait)
    KLV_NOTIFY_RETRY_POST = 0x40000000,    // a failed post is tried again every 100 ms
    KLV_NOTIFY_DIRECT_ON_SAME = 0x20000000 // on the sink's own thread, deliver without a message
};

class CKLVNotificationSinkMTWnd : public CWnd {
public:
    // A hidden popup of the library's default class, on the calling thread.
    virtual BOOL CreateWnd();

protected:
    virtual LRESULT OnInterThreadEvent(WPARAM wParam, LPARAM lParam) = 0;

    DECLARE_MESSAGE_MAP()
};
