#include "classlib/Menu.h"

#include "classlib/ThreadState.h"
#include "classlib/WinApp.h"
#include "classlib/Wnd.h"

IMPLEMENT_DYNCREATE(CMenu, CObject)

CMenu* CMenu::FromHandle(HMENU hMenu) {
    return AfxGetThreadState()->m_temporaries.FromHandle<CMenu, &CMenu::m_hMenu>(hMenu);
}

void CMenu::DeleteTempMap() { AfxGetThreadState()->m_temporaries.DeleteAll(); }

BOOL CMenu::LoadMenu(LPCTSTR lpszResourceName) {
    return Attach(::LoadMenuA(AfxGetResourceHandle(), lpszResourceName));
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const {
    int nLength = ::GetMenuStringA(m_hMenu, nIDItem, nullptr, 0, nFlags);
    if (nLength <= 0) {
        rString.Empty();
        return 0;
    }
    nLength = ::GetMenuStringA(m_hMenu, nIDItem, rString.GetBuffer(nLength), nLength + 1, nFlags);
    rString.ReleaseBuffer(nLength);
    return nLength;
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect) {
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, AfxGetSafeHwnd(pWnd), lpRect);
}

BOOL CMenu::TrackPopupMenuEx(UINT fuFlags, int x, int y, CWnd* pWnd, LPTPMPARAMS lptpm) {
    return ::TrackPopupMenuEx(m_hMenu, fuFlags, x, y, AfxGetSafeHwnd(pWnd), lptpm);
}
