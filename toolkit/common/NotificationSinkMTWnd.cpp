#include "toolkit/common/NotificationSinkMTWnd.h"

BEGIN_MESSAGE_MAP(CKLVNotificationSinkMTWnd, CWnd)
    ON_REGISTERED_MESSAGE(KLV_WM_NOTIFICATIONSINKMT_ONEVENT, OnInterThreadEvent)
END_MESSAGE_MAP()

BOOL CKLVNotificationSinkMTWnd::CreateWnd() {
    return CreateEx(0, AfxRegisterWndClass(0), "KLVNotificationSinkMT_MsgWnd", WS_POPUP, CRect(0, 0, 0, 0), nullptr, 0);
}
